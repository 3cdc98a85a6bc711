#include "withholding/ui/YearEndPrintDialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "ledger/Ledger.h"
#include "ledger/SysLog.h"
#include "ledger/ui/DialogFont.h"
#include "platform/IniFile.h"
#include "platform/PrinterPort.h"
#include "platform/ui/Application.h"
#include "platform/ui/Printer.h"
#include "reports/PrintInfo.h"
#include "reports/PrnCanvas.h"
#include "reports/ui/PositionCorrectionBox.h"
#include "reports/ui/PrintOnPrinter.h"
#include "reports/ui/PrintPreview.h"
#include "withholding/RefundNotice.h"
#include "withholding/WithholdingSlip.h"
#include "withholding/WithholdingSlipOld.h"
#include "withholding/ui/ImeCtrl.h"
#include "withholding/ui/MainWindow.h"

namespace withholding::ui {

namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), int(s.size()));
}

QLabel* panel(QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setMinimumHeight(22);
    return l;
}

}  // namespace

YearEndPrintDialog::YearEndPrintDialog(YearEndOption& option, std::filesystem::path iniFile,
                                       std::filesystem::path dataPath, const ledger::Clock& clock,
                                       platform::PrinterPort* printer, QWidget* parent)
    : QDialog(parent),
      Option(option),
      iniFile_(std::move(iniFile)),
      dataPath_(std::move(dataPath)),
      clock_(clock),
      printer_(printer) {
    setObjectName(QStringLiteral("fmInji"));
    setWindowTitle(QStringLiteral("帳票の印刷"));
    setFont(ledger::ui::dialogFont());

    auto* Panel1 = new QFrame(this);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnPrinter = panel(Panel1);
    pnLType = panel(Panel1);
    pnPrnInfo = panel(Panel1);
    btPrnSetup = new QPushButton(QStringLiteral("ﾌﾟﾘﾝﾀ設定"), Panel1);
    auto* grid = new QGridLayout(Panel1);
    grid->addWidget(new QLabel(QStringLiteral("ﾌﾟﾘﾝﾀｰ"), Panel1), 0, 0);
    grid->addWidget(pnPrinter, 0, 1);
    grid->addWidget(btPrnSetup, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("帳票ﾀｲﾌﾟ"), Panel1), 1, 0);
    grid->addWidget(pnLType, 1, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("印刷情報"), Panel1), 2, 0);
    grid->addWidget(pnPrnInfo, 2, 1, 1, 2);
    grid->setColumnStretch(1, 1);

    gbPrAdjust = new reports::ui::PositionCorrectionBox(this);
    edPrAdjustV = gbPrAdjust->edPrAdjustV;
    edPrAdjustH = gbPrAdjust->edPrAdjustH;
    sbPosUp = gbPrAdjust->sbPosUp;
    sbPosDown = gbPrAdjust->sbPosDown;
    sbPosLeft = gbPrAdjust->sbPosLeft;
    sbPosRight = gbPrAdjust->sbPosRight;
    sbPosReset = gbPrAdjust->sbPosReset;
    for (QLineEdit* e : {edPrAdjustV, edPrAdjustH}) SetImeMode(e, 0);

    btPreView = new QPushButton(QStringLiteral("プレビュー"), this);
    btOk = new QPushButton(QStringLiteral("印刷"), this);
    btCancel = new QPushButton(QStringLiteral("中止"), this);
    btOk->setDefault(true);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(btPreView);
    buttons->addWidget(btOk);
    buttons->addWidget(btCancel);
    buttons->addStretch();

    auto* lower = new QHBoxLayout;
    lower->addWidget(gbPrAdjust);
    lower->addStretch();
    lower->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addLayout(lower);
    setMinimumWidth(440);

    auto guard = [this](auto fn) { return [this, fn] { platform::ui::guarded(this, fn); }; };
    connect(btPrnSetup, &QPushButton::clicked, this, guard([this] { btPrnSetupClick(); }));
    connect(btPreView, &QPushButton::clicked, this, guard([this] { btPreViewClick(); }));
    connect(btOk, &QPushButton::clicked, this, guard([this] { btOkClick(); }));
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void YearEndPrintDialog::setRequest(const YearEndPrintRequest& request) {
    Tag = request.tag;
    NewLayout = request.newLayout;
    caption_ = request.caption;
    checkedSlots = request.checked;
}

void YearEndPrintDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    platform::ui::guarded(this, [this] { FormShow(); });
}

void YearEndPrintDialog::showPrinter(const std::string& name) {
    pnPrinter->setText(QStringLiteral(" ") + QString::fromStdString(name));
}

void YearEndPrintDialog::FormShow() {
    setWindowTitle(caption_ + QStringLiteral("の印刷"));
    DocKind = reports::DocKindOf(Tag);
    if (printer_) {
        if (LoadYearEndPrintInfo(platform::IniFile(iniFile_), *printer_, DocKind)) {
            showPrinter(printer_->printerName());
        } else {
            const reports::PaperChoice paper = YearEndPaper(DocKind);
            showPrinter(reports::SelectPaper(*printer_, paper.paper, paper.orientation));
        }
    }
    pnLType->setText(qs(YearEndPaperText(DocKind)));
    TargetCount = int(std::min<std::size_t>(checkedSlots.size(), 80));
    PageCount = YearEndPageCount(DocKind, TargetCount);
    pnPrnInfo->setText(qs(YearEndPrnInfoText(PageCount, TargetCount)));
    gbPrAdjust->showCorrections(Option.PrAdjustH, Option.PrAdjustV);
    btOk->setFocus();
}

void YearEndPrintDialog::sbPosClick(QObject* sender) {
    gbPrAdjust->sbPosClick(sender);
}

void YearEndPrintDialog::edPrAdjustExit(QLineEdit* edit) {
    gbPrAdjust->edPrAdjustExit(edit);
}

void YearEndPrintDialog::btPrnSetupClick() {
    if (printerSetup) printerSetup();
    if (printer_) showPrinter(printer_->printerName());
}

bool YearEndPrintDialog::takeCorrections() {
    return gbPrAdjust->takeCorrections(Option.PrAdjustH, Option.PrAdjustV);
}

YearEndPageJob YearEndPrintDialog::pageJob() const {
    YearEndPageJob job;
    job.docKind = DocKind;
    job.newLayout = NewLayout;
    job.printLine = Option.PrintLine;
    job.drawers = drawers;
    return job;
}

std::vector<reports::SlipSheet> YearEndPrintDialog::jobSheets() const {
    return YearEndSheets(DocKind, checkedSlots);
}

YearEndPrintDialog::SheetDrawer YearEndPrintDialog::sheetDrawer() const {
    const std::vector<reports::SlipSheet> sheets = jobSheets();
    const YearEndPageJob job = pageJob();
    const double h = Option.PrAdjustH, v = Option.PrAdjustV;
    return [sheets, job, h, v](reports::PrnCanvas& c, int sheet) {
        if (sheet < 0 || sheet >= int(sheets.size())) return;
        c.PrAdjustH = h;
        c.PrAdjustV = v;
        const reports::SlipSheet& s = sheets[std::size_t(sheet)];
        DrawYearEndPage(c, job, s.first, s.second);
    };
}

void YearEndPrintDialog::btPreViewClick() {
    if (!takeCorrections()) return;
    if (!showPreview) return;
    const bool printed =
        showPreview(int(jobSheets().size()), sheetDrawer(), [this] { btOkClick(); });
    if (printed) {
        // The print job has ended the dialog already.
        if (isVisible()) done(QDialog::Accepted);
        return;
    }
    if (isVisible()) {
        activateWindow();
        btOk->setFocus();
    } else if (parentWidget()) {
        parentWidget()->activateWindow();
    }
}

void YearEndPrintDialog::btOkClick() {
    // Read before the dialog goes, so that a bad correction is reported while
    // the user can still mend it.
    if (!takeCorrections()) return;
    hide();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    const bool saved = platform::ui::guarded(this, [this] {
        if (!printer_) return;
        platform::IniFile ini(iniFile_);
        SaveYearEndPrintInfo(ini, *printer_, DocKind, Option.PrAdjustH, Option.PrAdjustV);
    });
    if (!saved) {
        done(QDialog::Rejected);
        return;
    }
    const bool ok = printSheets && printSheets(QApplication::applicationDisplayName(),
                                               int(jobSheets().size()), sheetDrawer());
    // Only a job that reached the spooler whole is logged as printed.
    if (ok && YearEndLogCode(DocKind) != 0)
        platform::ui::guarded(
            this, [this] { ledger::WriteSysLog(dataPath_, clock_, YearEndLogCode(DocKind)); });
    done(ok ? QDialog::Accepted : QDialog::Rejected);
}

namespace {

// The keys of the year-end preview beyond the shared ones: Enter toggles the
// view, F12 is the next sheet and F11 the previous one.
class PreviewKeys : public QObject {
public:
    explicit PreviewKeys(reports::ui::PrintPreview* preview)
        : QObject(preview), preview_(preview) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == preview_ && event->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(event);
            switch (k->key()) {
                case Qt::Key_Return:
                case Qt::Key_Enter:
                    preview_->sbWDispClick();
                    return true;
                case Qt::Key_F12:
                    if (preview_->sbNextPage->isEnabled()) preview_->sbPageUpDownClick(1);
                    return true;
                case Qt::Key_F11:
                    if (preview_->sbBackPage->isEnabled()) preview_->sbPageUpDownClick(-1);
                    return true;
                default:
                    break;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    reports::ui::PrintPreview* preview_;
};

}  // namespace

YearEndPrintWindows::YearEndPrintWindows(MainWindow& main, ledger::Ledger& ledger,
                                         WithholdingData& data, YearEndOption& option)
    : main_(main) {
    printer = std::make_unique<platform::ui::Printer>();
    fmInji = new YearEndPrintDialog(option, main.IniFileName, main.DataPath, ledger.clock,
                                    printer.get(), &main);
    // The forms read the year as it stands when a sheet is drawn.
    const ledger::Ledger* l = &ledger;
    const WithholdingData* d = &data;
    const YearEndOption* o = &option;
    fmInji->drawers.withholdingSlip = [l, d, o](reports::PrnCanvas& c, int slot, int copy) {
        DrawWithholdingSlip(c, SlipSources{*l, *d, o->Syubetu, true}, slot, copy);
    };
    fmInji->drawers.withholdingSlipOld = [l, d, o](reports::PrnCanvas& c, int slot, int copy) {
        DrawWithholdingSlipOld(c, SlipSources{*l, *d, o->Syubetu, false}, slot, copy);
    };
    fmInji->drawers.refundNotice = [l, d, o](reports::PrnCanvas& c, int slot, bool newLayout) {
        DrawRefundNotice(c, SlipSources{*l, *d, o->Syubetu, newLayout}, slot);
    };
    fmPreView = new reports::ui::PrintPreview(&main);
    fmPreView->installEventFilter(new PreviewKeys(fmPreView));

    platform::ui::Printer* p = printer.get();
    YearEndPrintDialog* inji = fmInji;
    reports::ui::PrintPreview* preview = fmPreView;
    fmInji->printSheets = [p, inji](const QString& title, int sheets,
                                    const YearEndPrintDialog::SheetDrawer& draw) {
        return reports::ui::PrintOnPrinter(*p, title, sheets, draw, inji);
    };
    fmInji->printerSetup = [p, inji] {
        QPrintDialog dialog(&p->qprinter(), inji);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
        dialog.exec();
    };
    fmInji->showPreview = [this, preview](int sheets, const YearEndPrintDialog::SheetDrawer& draw,
                                          const std::function<void()>& print) {
        // The tool bar as the main window holds the setting; without it the
        // preview is driven by keys and offers no print command.
        preview->Panel1->setVisible(main_.previewButtons());
        // Maximised without a maximise button while it shows.
        const Qt::WindowFlags flags = preview->windowFlags();
        preview->setWindowFlags(flags & ~Qt::WindowMaximizeButtonHint);
        const bool printed =
            preview->run(previewDocument(sheets, draw, print)) == QDialog::Accepted;
        preview->setWindowFlags(flags);
        return printed;
    };
}

reports::ui::PreviewDocument YearEndPrintWindows::previewDocument(
    int sheets, const YearEndPrintDialog::SheetDrawer& draw, const std::function<void()>& print) {
    reports::ui::PreviewDocument doc;
    doc.pageCount = sheets;
    doc.drawPage = draw;
    doc.print = print;
    doc.printer = reports::ui::GeometryOf(*printer);
    doc.thinPenWidth = kPreviewThinPenWidth;
    doc.thickPenWidth = kPreviewThickPenWidth;
    return doc;
}

YearEndPrintWindows::~YearEndPrintWindows() = default;

std::function<void(const YearEndPrintRequest&)> YearEndPrintWindows::printCommand() {
    return [this](const YearEndPrintRequest& request) {
        fmInji->setRequest(request);
        if (main_.runModal)
            main_.runModal(*fmInji);
        else
            fmInji->exec();
    };
}

}  // namespace withholding::ui
