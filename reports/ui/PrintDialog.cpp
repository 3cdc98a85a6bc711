#include "reports/ui/PrintDialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTextCursor>
#include <QVBoxLayout>

#include "ledger/Ledger.h"
#include "ledger/ui/DialogFont.h"
#include "ledger/ui/EditHelper.h"
#include "platform/IniFile.h"
#include "platform/PrinterPort.h"
#include "platform/ui/Application.h"
#include "platform/ui/MessageBox.h"
#include "reports/PrintInfo.h"
#include "reports/ui/PositionCorrectionBox.h"

namespace reports::ui {

namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), int(s.size()));
}
std::string str(const QString& s) {
    return s.toStdString();
}

QLabel* panel(QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setMinimumHeight(22);
    return l;
}

QLineEdit* dateEdit(QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setMaxLength(2);
    e->setFixedWidth(30);
    e->setAlignment(Qt::AlignRight);
    return e;
}

}  // namespace

PrintDialog::PrintDialog(ledger::Ledger& ledger, std::filesystem::path iniFile,
                         platform::PrinterPort* printer, QWidget* parent)
    : QDialog(parent), ledger_(ledger), iniFile_(std::move(iniFile)), printer_(printer) {
    setObjectName(QStringLiteral("fmInji"));
    setWindowTitle(QStringLiteral("帳票の印刷"));
    setFont(ledger::ui::dialogFont());

    pnPrinter = panel(this);
    btPrnSetup = new QPushButton(QStringLiteral("プリンタ設定"), this);
    cbFormType = new QComboBox(this);
    for (auto name : kFormTypeNames) cbFormType->addItem(qs(name));
    pnLType = panel(this);
    pnPrnInfo = panel(this);

    lbNengappi0 = new QLabel(QStringLiteral("支給日"), this);
    lbNengappi1 = new QLabel(this);
    edPrnDateYY = dateEdit(this);
    edPrnDateMM = dateEdit(this);
    edPrnDateDD = dateEdit(this);
    // The payment date: blanks and digits, Enter moves on, Ctrl+Delete empties,
    // overtype and select-all by the settings.
    for (QLineEdit* e : {edPrnDateYY, edPrnDateMM, edPrnDateDD})
        ledger::ui::EditHelper::attachDigits(e, 2, ledger_.sysOption, QStringLiteral(" "))
            ->setOvertypes(true)
            ->setSelectsOnEntry(true);
    auto* dateRow = new QWidget(this);
    auto* dl = new QHBoxLayout(dateRow);
    dl->setContentsMargins(0, 0, 0, 0);
    dl->setSpacing(3);
    dl->addWidget(lbNengappi1);
    dl->addWidget(edPrnDateYY);
    dl->addWidget(new QLabel(QStringLiteral("年"), dateRow));
    dl->addWidget(edPrnDateMM);
    dl->addWidget(new QLabel(QStringLiteral("月"), dateRow));
    dl->addWidget(edPrnDateDD);
    dl->addWidget(new QLabel(QStringLiteral("日"), dateRow));
    dl->addStretch();

    pnPrnMethod = new QWidget(this);
    rbNormal = new QRadioButton(QStringLiteral("通常"), pnPrnMethod);
    rbSyaKbn = new QRadioButton(QStringLiteral("社員区分別"), pnPrnMethod);
    rbBusyo = new QRadioButton(QStringLiteral("部署別"), pnPrnMethod);
    rbNormal->setChecked(true);
    auto* ml = new QHBoxLayout(pnPrnMethod);
    ml->setContentsMargins(0, 0, 0, 0);
    ml->addWidget(rbNormal);
    ml->addWidget(rbSyaKbn);
    ml->addWidget(rbBusyo);
    ml->addStretch();
    // The grouping buttons take the place of the date edits.
    dateOrMethod = new QStackedWidget(this);
    dateOrMethod->addWidget(dateRow);
    dateOrMethod->addWidget(pnPrnMethod);

    lbEditMemo = new QLabel(QStringLiteral("コメント欄"), this);
    mmEditMemo = new QPlainTextEdit(this);
    mmEditMemo->setFixedHeight(5 * mmEditMemo->fontMetrics().lineSpacing() + 12);
    mmEditMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    cbBikoPrn = new QCheckBox(QStringLiteral("詳細入力の備考欄をコメントとして印刷"), this);
    cbAllPrint = new QCheckBox(QStringLiteral("振込支給者も印刷する"), this);

    gbPrAdjust = new PositionCorrectionBox(this);
    edPrAdjustV = gbPrAdjust->edPrAdjustV;
    edPrAdjustH = gbPrAdjust->edPrAdjustH;
    sbPosUp = gbPrAdjust->sbPosUp;
    sbPosDown = gbPrAdjust->sbPosDown;
    sbPosLeft = gbPrAdjust->sbPosLeft;
    sbPosRight = gbPrAdjust->sbPosRight;
    sbPosReset = gbPrAdjust->sbPosReset;

    btPreView = new QPushButton(QStringLiteral("プレビュー"), this);
    btPrint = new QPushButton(QStringLiteral("印刷"), this);
    btCsvFile = new QPushButton(QStringLiteral("CSV書き出し"), this);
    btCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    btPrint->setDefault(true);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("プリンタ"), this), 0, 0);
    grid->addWidget(pnPrinter, 0, 1);
    grid->addWidget(btPrnSetup, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("用紙"), this), 1, 0);
    grid->addWidget(cbFormType, 1, 1, 1, 2);
    grid->addWidget(pnLType, 1, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("印刷枚数"), this), 2, 0);
    grid->addWidget(pnPrnInfo, 2, 1, 1, 2);
    grid->addWidget(lbNengappi0, 3, 0);
    grid->addWidget(dateOrMethod, 3, 1, 1, 2);
    grid->addWidget(lbEditMemo, 4, 0, Qt::AlignTop);
    grid->addWidget(mmEditMemo, 4, 1, 1, 2);
    // The cash table's check box takes the comment check box's place.
    grid->addWidget(cbBikoPrn, 5, 1, 1, 2);
    grid->addWidget(cbAllPrint, 5, 1, 1, 2);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btPreView);
    buttons->addWidget(btPrint);
    buttons->addWidget(btCsvFile);
    buttons->addStretch();
    buttons->addWidget(btCancel);

    auto* lower = new QHBoxLayout;
    lower->addWidget(gbPrAdjust);
    lower->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(lower);
    layout->addLayout(buttons);
    setMinimumWidth(460);

    auto guard = [this](auto fn) { return [this, fn] { platform::ui::guarded(this, fn); }; };
    connect(btPrnSetup, &QPushButton::clicked, this, guard([this] { btPrnSetupClick(); }));
    connect(cbFormType, &QComboBox::activated, this, guard([this] { cbFormTypeChange(); }));
    for (QAbstractButton* b :
         std::initializer_list<QAbstractButton*>{cbAllPrint, rbNormal, rbSyaKbn, rbBusyo})
        connect(b, &QAbstractButton::clicked, this,
                [this, b] { platform::ui::guarded(this, [this, b] { FormShow(b); }); });
    connect(mmEditMemo, &QPlainTextEdit::textChanged, this, &PrintDialog::mmEditMemoChange);
    connect(cbBikoPrn, &QCheckBox::toggled, this,
            [this](bool on) { mmEditMemo->setEnabled(!on && DocKind == kDocPaySlips); });
    connect(btPreView, &QPushButton::clicked, this, guard([this] { btPreViewClick(); }));
    connect(btPrint, &QPushButton::clicked, this, guard([this] { btPrintClick(); }));
    connect(btCsvFile, &QPushButton::clicked, this, guard([this] { btCsvFileClick(); }));
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);

    const PrintOptions options = ReadPrintOptions(platform::IniFile(iniFile_));
    FormType = ValidFormType(options.FormType);
    PrAdjustH = options.PrAdjustH;
    PrAdjustV = options.PrAdjustV;
    mmEditMemo->clear();
}

void PrintDialog::setRequest(const QString& caption, int tag) {
    caption_ = caption;
    Tag = tag;
}

void PrintDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    platform::ui::guarded(this, [this] { FormShow(); });
}

void PrintDialog::showPrinter(const std::string& name) {
    pnPrinter->setText(QStringLiteral(" ") + QString::fromStdString(name));
}

void PrintDialog::selectPaper(PaperChoice paper) {
    if (!printer_) return;
    showPrinter(SelectPaper(*printer_, paper.paper, paper.orientation));
}

MonthlyGrouping PrintDialog::grouping() const {
    if (rbSyaKbn->isChecked()) return MonthlyGrouping::ByKind;
    if (rbBusyo->isChecked()) return MonthlyGrouping::ByDept;
    return MonthlyGrouping::Normal;
}

void PrintDialog::FormShow(QObject* sender) {
    if (!sender) {
        DocKind = DocKindOf(Tag);
        const bool slips = DocKind == kDocPaySlips;
        const DateEdits date = InitialPayDate(ledger_);
        edPrnDateYY->setText(qs(date.year));
        edPrnDateMM->setText(qs(date.month));
        edPrnDateDD->setText(qs(date.day));
        setWindowTitle(caption_ + QStringLiteral("の印刷"));

        if (printer_) {
            if (LoadPrintInfo(platform::IniFile(iniFile_), *printer_))
                showPrinter(printer_->printerName());
            else
                selectPaper({9, 1});
        }
        if (slips) {
            if (printer_) {
                platform::DevMode mode = printer_->devMode();
                mode.Orientation = 1;
                printer_->setDevMode(mode);
            }
            pnLType->hide();
            cbFormType->setCurrentIndex(FormType);
            cbFormType->show();
        } else {
            pnLType->setText(qs(kListPaperText));
            pnLType->show();
            cbFormType->hide();
            selectPaper(kListPaper);
        }

        for (QWidget* w : std::initializer_list<QWidget*>{lbNengappi1, edPrnDateYY, edPrnDateMM,
                                                          edPrnDateDD, lbEditMemo, cbBikoPrn})
            w->setEnabled(slips);
        cbBikoPrn->setChecked(false);
        mmEditMemo->setEnabled(slips);
        const bool monthly = DocKind == kDocMonthlyList;
        lbNengappi0->setText(monthly ? QStringLiteral("印刷方法") : QStringLiteral("支給日"));
        lbNengappi0->setEnabled(slips || monthly);
        dateOrMethod->setCurrentWidget(monthly ? pnPrnMethod : dateOrMethod->widget(0));
    }

    recount();

    if (!sender) {
        // Corrections typed but not used last time are forgotten.
        gbPrAdjust->showCorrections(PrAdjustH, PrAdjustV);
        btPrint->setFocus();
    }
}

void PrintDialog::recount() {
    TargetCount = 0;
    PageCount = 0;
    switch (DocKind) {
        case kDocRoster: {
            const JobCount c = RosterCount(ledger_);
            TargetCount = c.targets;
            PageCount = c.pages;
            pnPrnInfo->setText(qs(PrnInfoText(DocKind, c)));
            break;
        }
        case kDocPaySlips:
            cbFormTypeChange();
            break;
        case kDocPersonalLedger:
            TargetCount = PageCount = selectedSlots ? int(selectedSlots().size()) : 0;
            pnPrnInfo->setText(qs(PrnInfoText(DocKind, {TargetCount, PageCount})));
            break;
        case kDocMonthlyList: {
            plan_ = BuildMonthlyPagePlan(ledger_, grouping());
            TargetCount = plan_.targetCount;
            PageCount = plan_.pageCount;
            const int period = DocTargetOf(Tag);
            pnPrnInfo->setText(qs(PrnInfoText(DocKind, {TargetCount, PageCount},
                                              MonthlyListPeriodName(period, ledger_.sysOption))));
            break;
        }
        case kDocTransferList:
        case kDocDenominations: {
            const JobCount c = PayMethodCount(ledger_, DocKind, cbAllPrint->isChecked());
            TargetCount = c.targets;
            PageCount = c.pages;
            pnPrnInfo->setText(qs(PrnInfoText(DocKind, c)));
            break;
        }
        default:
            pnPrnInfo->clear();
            break;
    }

    const bool exports =
        DocKind == kDocPaySlips || DocKind == kDocPersonalLedger || DocKind == kDocMonthlyList;
    btCsvFile->setEnabled(exports);
    btCsvFile->setText(DocKind == kDocPaySlips ? QStringLiteral("画像に保存")
                                               : QStringLiteral("CSV書き出し"));
    cbBikoPrn->setVisible(DocKind == kDocPaySlips);
    cbAllPrint->setVisible(DocKind == kDocDenominations);

    eraLabel_ = EraLabelText(ledger_.clock);
    lbNengappi1->setText(qs(eraLabel_.substr(0, eraLabel_.find(' '))));

    if (DocKind == kDocPersonalLedger || DocKind == kDocMonthlyList)
        RowFlags = LoadLedgerRowFlags(platform::IniFile(iniFile_));
}

void PrintDialog::cbFormTypeChange() {
    FormType = ValidFormType(cbFormType->currentIndex());
    TargetCount = selectedSlots ? int(selectedSlots().size()) : 0;
    PageCount = SlipPageCount(TargetCount, FormType);
    pnPrnInfo->setText(qs(PrnInfoText(kDocPaySlips, {TargetCount, PageCount})));
    selectPaper(SlipPaper(FormType));
}

void PrintDialog::sbPosClick(QObject* sender) {
    gbPrAdjust->sbPosClick(sender);
}

void PrintDialog::edPrAdjustExit(QLineEdit* edit) {
    gbPrAdjust->edPrAdjustExit(edit);
}

void PrintDialog::mmEditMemoChange() {
    if (memoBusy_) return;
    const QString text = mmEditMemo->toPlainText();
    const QString fixed = qs(ApplyMemoRules(str(text)));
    if (fixed == text) return;
    memoBusy_ = true;
    QTextCursor cursor = mmEditMemo->textCursor();
    const int pos = std::min(cursor.position(), int(fixed.size()));
    mmEditMemo->setPlainText(fixed);
    cursor = mmEditMemo->textCursor();
    cursor.setPosition(pos);
    mmEditMemo->setTextCursor(cursor);
    memoBusy_ = false;
}

void PrintDialog::btPrnSetupClick() {
    if (printerSetup) printerSetup();
    if (printer_) showPrinter(printer_->printerName());
}

bool PrintDialog::takeCorrections() {
    return gbPrAdjust->takeCorrections(PrAdjustH, PrAdjustV);
}

std::vector<SlipSheet> PrintDialog::jobSheets() const {
    const std::vector<int> chosen = selectedSlots ? selectedSlots() : std::vector<int>{};
    return JobSheets(DocKind, PageCount, chosen, FormType);
}

PageJob PrintDialog::pageJob() const {
    PageJob job;
    job.docKind = DocKind;
    job.docTarget = DocTargetOf(Tag);
    job.slip.FormType = FormType;
    job.slip.EditMemo = str(mmEditMemo->toPlainText());
    job.slip.BikoPrn = cbBikoPrn->isChecked();
    job.slipDate = SlipPrintDate(eraLabel_, str(edPrnDateYY->text()), str(edPrnDateMM->text()),
                                 str(edPrnDateDD->text()));
    job.plan = plan_;
    job.rows = RowFlags;
    job.allPrint = cbAllPrint->isChecked();
    return job;
}

PrintDialog::SheetDrawer PrintDialog::sheetDrawer() const {
    const std::vector<SlipSheet> sheets = jobSheets();
    const PageJob job = pageJob();
    const double h = PrAdjustH, v = PrAdjustV;
    const ledger::Ledger* l = &ledger_;
    return [sheets, job, h, v, l](PrnCanvas& c, int sheet, bool smallPreview) {
        if (sheet < 0 || sheet >= int(sheets.size())) return;
        PageJob j = job;
        j.smallPreview = smallPreview;
        c.PrAdjustH = h;
        c.PrAdjustV = v;
        DrawPage(c, *l, j, sheets[std::size_t(sheet)].first, sheets[std::size_t(sheet)].second);
    };
}

void PrintDialog::drawSheet(PrnCanvas& canvas, int sheet, bool smallPreview) const {
    sheetDrawer()(canvas, sheet, smallPreview);
}

void PrintDialog::btPreViewClick() {
    if (!takeCorrections()) return;
    if (!showPreview) return;
    PreviewRequest request;
    request.sheets = int(jobSheets().size());
    request.draw = sheetDrawer();
    if (DocKind == kDocPaySlips && (FormType == 0 || FormType == 4)) {
        // The pre-printed forms of the sheet under its values.
        const std::vector<SlipSheet> sheets = jobSheets();
        const int formType = FormType;
        const ledger::Ledger* l = &ledger_;
        request.background = [sheets, formType, l](PrnCanvas& c, int sheet, bool small) {
            if (sheet < 0 || sheet >= int(sheets.size())) return;
            const SlipSheet& s = sheets[std::size_t(sheet)];
            DrawSlipFormSheet(c, *l, formType, s.first, s.second, small);
        };
    }
    request.print = [this] { btPrintClick(); };
    const bool printed = showPreview(request);
    if (printed) {
        done(QDialog::Accepted);
        return;
    }
    if (isVisible())
        activateWindow();
    else if (parentWidget())
        parentWidget()->activateWindow();
}

void PrintDialog::btPrintClick() {
    // Read before the dialog goes, so that a bad correction is reported while
    // the user can still mend it.
    if (!takeCorrections()) return;
    hide();
    QApplication::processEvents();

    const bool saved = platform::ui::guarded(this, [this] {
        if (!printer_) return;
        platform::IniFile ini(iniFile_);
        SavePrintInfo(ini, *printer_, PrintOptions{FormType, PrAdjustH, PrAdjustV});
    });
    if (!saved) {
        done(QDialog::Rejected);
        return;
    }
    const bool ok = printSheets && printSheets(QApplication::applicationDisplayName(),
                                               int(jobSheets().size()), sheetDrawer());
    done(ok ? QDialog::Accepted : QDialog::Rejected);
}

void PrintDialog::btCsvFileClick() {
    std::function<bool(PrintDialog&)>* exporter = nullptr;
    if (DocKind == kDocPaySlips) exporter = &exportSlipImages;
    if (DocKind == kDocPersonalLedger) exporter = &exportLedgerCsv;
    if (DocKind == kDocMonthlyList) exporter = &exportMonthlyCsv;
    if (!exporter || !*exporter) return;
    if ((*exporter)(*this)) done(QDialog::Accepted);
}

}  // namespace reports::ui
