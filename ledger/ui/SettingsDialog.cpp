#include "ledger/ui/SettingsDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "ledger/Ledger.h"
#include "ledger/ui/DialogFont.h"
#include "ledger/ui/EditHelper.h"
#include "ledger/ui/HealthRatesDialog.h"
#include "ledger/ui/PasswordDialog.h"
#include "ledger/ui/TextColour.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/ui/Application.h"
#include "platform/ui/MessageBox.h"

namespace ledger::ui {
namespace {

using platform::ui::MessageBox;

constexpr int kWidth = 600;
// Height of the page area and of the whole dialog per page.
constexpr int kPageHeights[4][2] = {{400, 460}, {435, 510}, {435, 510}, {350, 410}};

const QString kDefaultsQuestion = QStringLiteral("この画面の項目名称を初期状態に戻します。");

QString q(const std::string& s) {
    return QString::fromStdString(s);
}
std::string s(const QString& q) {
    return q.toStdString();
}

QLabel* label(const QString& text, QWidget* parent) {
    return new QLabel(text, parent);
}

QLineEdit* edit(QWidget* parent, int width) {
    auto* e = new QLineEdit(parent);
    e->setFixedWidth(width);
    return e;
}

QLineEdit* rateEdit(QWidget* parent) {
    auto* e = edit(parent, 64);
    e->setAlignment(Qt::AlignRight);
    return e;
}

}  // namespace

SettingsDialog::SettingsDialog(ledger::Ledger& ledger, std::filesystem::path iniFile,
                               QWidget* parent)
    : QDialog(parent), ledger_(ledger), iniFile_(std::move(iniFile)) {
    setObjectName(QStringLiteral("fmConfig"));
    setWindowTitle(QStringLiteral("共通設定画面"));
    setFont(dialogFont());
    runModal = [](QDialog& d) { return d.exec() == QDialog::Accepted; };

    static const char* const kPageNames[4] = {"基本情報設定", "自由項目設定", "項目名称変更",
                                              "共通動作設定"};
    auto* tabs = new QHBoxLayout;
    tabs->setSpacing(2);
    auto* tabGroup = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        pageButtons[std::size_t(i)] = new QPushButton(QString::fromUtf8(kPageNames[i]), this);
        pageButtons[std::size_t(i)]->setCheckable(true);
        pageButtons[std::size_t(i)]->setFocusPolicy(Qt::NoFocus);
        tabGroup->addButton(pageButtons[std::size_t(i)], i);
        tabs->addWidget(pageButtons[std::size_t(i)]);
    }
    tabs->addStretch();
    connect(tabGroup, &QButtonGroup::idClicked, this,
            [this](int id) { setPage(static_cast<ConfigPage>(id)); });

    pages = new QStackedWidget(this);
    pages->addWidget(makeBasicPage());
    pages->addWidget(makeFreePage());
    pages->addWidget(makeNamesPage());
    pages->addWidget(makeBehaviourPage());

    btSetPass = new QPushButton(QStringLiteral("パスワード設定"), this);
    btSysSave = new QPushButton(QStringLiteral("OK"), this);
    btCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    btSysSave->setAutoDefault(false);
    btCancel->setAutoDefault(false);
    btSetPass->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btSetPass);
    buttons->addStretch();
    buttons->addWidget(btSysSave);
    buttons->addWidget(btCancel);
    connect(btSetPass, &QPushButton::clicked, this, &SettingsDialog::btSetPassClick);
    connect(btSysSave, &QPushButton::clicked, this, &SettingsDialog::btSysSaveClick);
    connect(btCancel, &QPushButton::clicked, this, &SettingsDialog::btCancelClick);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(4);
    layout->addLayout(tabs);
    layout->addWidget(pages);
    layout->addLayout(buttons);

    const SysOption& opt = ledger_.sysOption;
    EditHelper::attachText(edCorpName, kCorpNameBytes, opt);
    EditHelper::attachDigits(edCorpNumber, kCorpNumberDigits, opt)->setOvertypes(true);
    struct NumberField {
        QLineEdit* edit;
        ConfigField field;
        QString keys;
    };
    for (const NumberField& f : {NumberField{edPayDay, ConfigField::PayDay, QString()},
                                 NumberField{edHoursPerDay, ConfigField::HoursPerDay, ".:"},
                                 NumberField{edEmpIns, ConfigField::EmpInsRate, "."},
                                 NumberField{edHealthIns, ConfigField::HealthInsRate, "."},
                                 NumberField{edCareIns, ConfigField::CareInsRate, "."},
                                 NumberField{edPension, ConfigField::PensionRate, "."},
                                 NumberField{edPensionFund, ConfigField::PensionFundRate, "."}}) {
        auto* h = EditHelper::attachNumber(f.edit, NumberFormatOf(f.field), opt, f.keys);
        ConfigField field = f.field;
        h->setReformat([this, field](const std::string& normalised) {
            return q(ShownNumberText(field, normalised, ledger_.sysOption.timeStyle));
        });
    }
    for (QLineEdit* e : edFree) EditHelper::attachText(e, kItemLabelBytes, opt);
    EditHelper::attachText(edTokuSyoyo, kItemLabelBytes, opt);
    for (QLineEdit* e : edAttendance) {
        EditHelper::attachText(e, kItemLabelBytes, opt);
        e->installEventFilter(this);
    }
    for (QLineEdit* e : edPayment) EditHelper::attachText(e, kItemLabelBytes, opt);
    for (QWidget* w : findChildren<QCheckBox*>()) EditHelper::attachEnter(w);
    for (QWidget* w : findChildren<QRadioButton*>()) EditHelper::attachEnter(w);

    cbHideNumber->setChecked(true);
    FormCreate();
    setPage(ConfigPage::Basic);
}

QWidget* SettingsDialog::makeBasicPage() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(6);

    edCorpName = edit(page, 300);
    grid->addWidget(label(QStringLiteral("会社名称"), page), 0, 0);
    grid->addWidget(edCorpName, 0, 1, 1, 3);

    edCorpNumber = edit(page, 120);
    edCorpNumber->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    cbHideNumber = new QCheckBox(QStringLiteral("隠す"), page);
    connect(cbHideNumber, &QCheckBox::toggled, this, [this](bool hide) {
        edCorpNumber->setEchoMode(hide ? QLineEdit::Password : QLineEdit::Normal);
    });
    grid->addWidget(label(QStringLiteral("法人番号"), page), 1, 0);
    grid->addWidget(edCorpNumber, 1, 1);
    grid->addWidget(cbHideNumber, 1, 2);

    edPayDay = edit(page, 32);
    edPayDay->setAlignment(Qt::AlignRight);
    cbNextMonth = new QCheckBox(QStringLiteral("入力月の翌月を支給日とする"), page);
    auto* payRow = new QHBoxLayout;
    payRow->addWidget(edPayDay);
    payRow->addWidget(label(QStringLiteral("日　(月末は31を入力)"), page));
    payRow->addSpacing(16);
    payRow->addWidget(cbNextMonth);
    payRow->addStretch();
    grid->addWidget(label(QStringLiteral("給与支給日"), page), 2, 0);
    grid->addLayout(payRow, 2, 1, 1, 3);

    auto* work = new QGroupBox(QStringLiteral("所定労働条件"), page);
    auto* workRow = new QHBoxLayout(work);
    edHoursPerDay = edit(work, 56);
    edHoursPerDay->setAlignment(Qt::AlignRight);
    workRow->addWidget(label(QStringLiteral("日労働時間数"), work));
    workRow->addWidget(edHoursPerDay);
    workRow->addWidget(label(QStringLiteral("時間"), work));
    workRow->addStretch();
    grid->addWidget(work, 3, 0, 1, 4);

    auto* rates = new QGroupBox(QStringLiteral("保険料負担率"), page);
    auto* rg = new QGridLayout(rates);
    rg->setVerticalSpacing(4);
    edEmpIns = rateEdit(rates);
    edHealthIns = rateEdit(rates);
    edCareIns = rateEdit(rates);
    edPension = rateEdit(rates);
    edPensionFund = rateEdit(rates);
    auto* business = new QWidget(rates);
    auto* bl = new QHBoxLayout(business);
    bl->setContentsMargins(0, 0, 0, 0);
    rbGeneral = new QRadioButton(QStringLiteral("一般事業所"), business);
    rbOther = new QRadioButton(QStringLiteral("それ以外"), business);
    bl->addWidget(rbGeneral);
    bl->addWidget(rbOther);
    connect(rbGeneral, &QRadioButton::clicked, this, [this] { rbBusinessClick(true); });
    connect(rbOther, &QRadioButton::clicked, this, [this] { rbBusinessClick(false); });
    btKenRitu = new QPushButton(QStringLiteral("健康保険料率選択"), rates);
    btKenRitu->setAutoDefault(false);
    connect(btKenRitu, &QPushButton::clicked, this, &SettingsDialog::btKenRituClick);
    const std::pair<const char*, QLineEdit*> rows[] = {{"雇用保険", edEmpIns},
                                                       {"健康保険", edHealthIns},
                                                       {"介護保険", edCareIns},
                                                       {"厚生年金", edPension},
                                                       {"厚生年金基金", edPensionFund}};
    for (int r = 0; r < 5; ++r) {
        rg->addWidget(label(QString::fromUtf8(rows[r].first), rates), r, 0);
        rg->addWidget(rows[r].second, r, 1);
        rg->addWidget(label(QStringLiteral("%"), rates), r, 2);
    }
    rg->addWidget(business, 0, 3);
    rg->addWidget(btKenRitu, 1, 3, Qt::AlignLeft);
    rg->setColumnStretch(4, 1);
    grid->addWidget(rates, 4, 0, 1, 4);

    auto* note =
        label(QStringLiteral("保険料負担率変更後は｢社員情報の編集｣にて、社員１人ずつ等級表の\n"
                             "再設定をお願いいたします。"),
              page);
    setTextColour(note, QColor(0x00, 0x00, 0xc0));
    grid->addWidget(note, 5, 0, 1, 4);
    grid->setColumnStretch(3, 1);

    auto* v = new QVBoxLayout(page);
    v->addLayout(grid);
    v->addStretch();
    return page;
}

QWidget* SettingsDialog::makeFreePage() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(3);
    grid->addWidget(label(QStringLiteral("項目名"), page), 0, 1);
    grid->addWidget(label(QStringLiteral("課税対象"), page), 0, 2, Qt::AlignHCenter);
    grid->addWidget(label(QStringLiteral("社保算定対象"), page), 0, 3, Qt::AlignHCenter);
    for (int i = 0; i < 15; ++i) {
        int row = i + 1 + (i >= 12 ? 1 : 0);
        grid->addWidget(label(q(std::string(kFreeLabelDefaults[std::size_t(i)])), page), row, 0);
        edFree[std::size_t(i)] = edit(page, 130);
        grid->addWidget(edFree[std::size_t(i)], row, 1);
        if (i < 12) {
            cbKazei[std::size_t(i)] = new QCheckBox(page);
            cbSyaho[std::size_t(i)] = new QCheckBox(page);
            grid->addWidget(cbKazei[std::size_t(i)], row, 2, Qt::AlignHCenter);
            grid->addWidget(cbSyaho[std::size_t(i)], row, 3, Qt::AlignHCenter);
        }
    }
    grid->setRowMinimumHeight(13, 6);
    edTokuSyoyo = edit(page, 130);
    grid->addWidget(label(QStringLiteral("特別賞与の名称"), page), 18, 0);
    grid->addWidget(edTokuSyoyo, 18, 1);
    btDefault1 = new QPushButton(QStringLiteral("初期状態に戻す"), page);
    btDefault1->setAutoDefault(false);
    connect(btDefault1, &QPushButton::clicked, this, &SettingsDialog::btDefault1Click);
    grid->addWidget(btDefault1, 18, 2, 1, 2, Qt::AlignRight);
    grid->setColumnStretch(4, 1);

    auto* v = new QVBoxLayout(page);
    v->addLayout(grid);
    v->addStretch();
    return page;
}

QWidget* SettingsDialog::makeNamesPage() {
    auto* page = new QWidget(this);
    auto* attendance = new QGroupBox(QStringLiteral("勤怠項目"), page);
    auto* ag = new QGridLayout(attendance);
    ag->setVerticalSpacing(3);
    for (int i = 0; i < 15; ++i) {
        ag->addWidget(label(q(std::string(kAttendanceLabelDefaults[std::size_t(i)])), attendance),
                      i, 0);
        edAttendance[std::size_t(i)] = edit(attendance, 120);
        ag->addWidget(edAttendance[std::size_t(i)], i, 1);
    }
    auto* payment = new QGroupBox(QStringLiteral("支給項目"), page);
    auto* pg = new QGridLayout(payment);
    pg->setVerticalSpacing(3);
    for (int i = 0; i < 11; ++i) {
        pg->addWidget(label(q(std::string(kPaymentLabelDefaults[std::size_t(i)])), payment), i, 0);
        edPayment[std::size_t(i)] = edit(payment, 120);
        pg->addWidget(edPayment[std::size_t(i)], i, 1);
    }
    pg->setRowStretch(11, 1);
    btDefault2 = new QPushButton(QStringLiteral("初期状態に戻す"), page);
    btDefault2->setAutoDefault(false);
    connect(btDefault2, &QPushButton::clicked, this, &SettingsDialog::btDefault2Click);

    auto* right = new QVBoxLayout;
    right->addWidget(payment);
    right->addWidget(btDefault2, 0, Qt::AlignRight);
    auto* h = new QHBoxLayout(page);
    h->addWidget(attendance, 0, Qt::AlignTop);
    h->addLayout(right);
    return page;
}

QWidget* SettingsDialog::makeBehaviourPage() {
    auto* page = new QWidget(this);
    auto pair = [&](const QString& title, QRadioButton*& a, const QString& ta, QRadioButton*& b,
                    const QString& tb) {
        auto* box = new QGroupBox(title, page);
        auto* l = new QHBoxLayout(box);
        a = new QRadioButton(ta, box);
        b = new QRadioButton(tb, box);
        l->addWidget(a);
        l->addWidget(b);
        l->addStretch();
        return box;
    };
    auto* v = new QVBoxLayout(page);
    v->addWidget(pair(QStringLiteral("時間の表示"), rbTime10,
                      QStringLiteral("10進法（１時間45分→1.75）"), rbTime60,
                      QStringLiteral("60進法（１時間45分→1:45）")));
    v->addWidget(pair(QStringLiteral("支給項目の端数処理（１円未満）"), rbSikUp,
                      QStringLiteral("切り上げ"), rbSikHalf, QStringLiteral("四捨五入")));
    v->addWidget(pair(QStringLiteral("欠勤控除・遅刻早退控除の端数処理（１円未満）"), rbGenDown,
                      QStringLiteral("切り捨て"), rbGenHalf, QStringLiteral("四捨五入")));
    v->addWidget(pair(QStringLiteral("控除項目・税額の端数処理（１円未満）"), rbKouDown,
                      QStringLiteral("切り捨て"), rbKouHalf, QStringLiteral("四捨五入")));
    auto* print = new QGroupBox(QStringLiteral("印刷"), page);
    auto* pl = new QVBoxLayout(print);
    cbPrnRuikei = new QCheckBox(QStringLiteral("給与明細書(GB1150)に累計額を印刷する"), print);
    cbUse2kSatu = new QCheckBox(QStringLiteral("金種表に２千円札を使用する"), print);
    pl->addWidget(cbPrnRuikei);
    pl->addWidget(cbUse2kSatu);
    v->addWidget(print);
    v->addStretch();
    return page;
}

void SettingsDialog::FormCreate() {
    platform::ui::guarded(this,
                          [&] { LoadSysOption(platform::IniFile(iniFile_), ledger_.sysOption); });
}

void SettingsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void SettingsDialog::FormShow() {
    closing_ = false;
    ApplyRateDefaults(ledger_.BasicInfo());
    shown_ = ConfigFormFrom(ledger_.BasicInfo(), ledger_.sysOption);
    showForm(shown_);
    setPage(ConfigPage::Basic);
    edCorpName->setFocus();
}

ConfigForm SettingsDialog::readForm() const {
    ConfigForm f;
    f.corpName = s(edCorpName->text());
    f.corpNumber = s(edCorpNumber->text());
    f.payDay = s(edPayDay->text());
    f.payNextMonth = cbNextMonth->isChecked();
    f.hoursPerDay = s(edHoursPerDay->text());
    f.generalBusiness = rbGeneral->isChecked();
    f.empInsRate = s(edEmpIns->text());
    f.healthInsRate = s(edHealthIns->text());
    f.careInsRate = s(edCareIns->text());
    f.pensionRate = s(edPension->text());
    f.pensionFundRate = s(edPensionFund->text());
    for (std::size_t i = 0; i < edFree.size(); ++i) f.freeLabels[i] = s(edFree[i]->text());
    f.tokuSyoyo = s(edTokuSyoyo->text());
    for (std::size_t i = 0; i < cbKazei.size(); ++i) {
        f.kazei[i] = cbKazei[i]->isChecked();
        f.syaho[i] = cbSyaho[i]->isChecked();
    }
    for (std::size_t i = 0; i < edAttendance.size(); ++i)
        f.attendanceLabels[i] = s(edAttendance[i]->text());
    for (std::size_t i = 0; i < edPayment.size(); ++i) f.paymentLabels[i] = s(edPayment[i]->text());
    f.timeStyle = rbTime10->isChecked() ? 0 : 1;
    f.hasuuSik = rbSikHalf->isChecked() ? 2 : 1;
    f.hasuuGen = rbGenHalf->isChecked() ? 2 : 0;
    f.hasuuKou = rbKouHalf->isChecked() ? 2 : 0;
    f.prnRuikei = cbPrnRuikei->isChecked();
    f.use2kSatu = cbUse2kSatu->isChecked();
    return f;
}

void SettingsDialog::showForm(const ConfigForm& f) {
    edCorpName->setText(q(f.corpName));
    edCorpNumber->setText(q(f.corpNumber));
    edPayDay->setText(q(f.payDay));
    cbNextMonth->setChecked(f.payNextMonth);
    edHoursPerDay->setText(q(f.hoursPerDay));
    (f.generalBusiness ? rbGeneral : rbOther)->setChecked(true);
    edEmpIns->setText(q(f.empInsRate));
    edHealthIns->setText(q(f.healthInsRate));
    edCareIns->setText(q(f.careInsRate));
    edPension->setText(q(f.pensionRate));
    edPensionFund->setText(q(f.pensionFundRate));
    for (std::size_t i = 0; i < edFree.size(); ++i) edFree[i]->setText(q(f.freeLabels[i]));
    edTokuSyoyo->setText(q(f.tokuSyoyo));
    for (std::size_t i = 0; i < cbKazei.size(); ++i) {
        cbKazei[i]->setChecked(f.kazei[i]);
        cbSyaho[i]->setChecked(f.syaho[i]);
    }
    for (std::size_t i = 0; i < edAttendance.size(); ++i)
        edAttendance[i]->setText(q(f.attendanceLabels[i]));
    for (std::size_t i = 0; i < edPayment.size(); ++i) edPayment[i]->setText(q(f.paymentLabels[i]));
    (f.timeStyle == 0 ? rbTime10 : rbTime60)->setChecked(true);
    (f.hasuuSik == 2 ? rbSikHalf : rbSikUp)->setChecked(true);
    (f.hasuuGen == 2 ? rbGenHalf : rbGenDown)->setChecked(true);
    (f.hasuuKou == 2 ? rbKouHalf : rbKouDown)->setChecked(true);
    cbPrnRuikei->setChecked(f.prnRuikei);
    cbUse2kSatu->setChecked(f.use2kSatu);
}

void SettingsDialog::setPage(ConfigPage page) {
    int i = static_cast<int>(page);
    pages->setCurrentIndex(i);
    pageButtons[std::size_t(i)]->setChecked(true);
    pages->setFixedHeight(kPageHeights[i][0]);
    setFixedSize(kWidth, kPageHeights[i][1]);
}

ConfigPage SettingsDialog::page() const {
    return static_cast<ConfigPage>(pages->currentIndex());
}

QWidget* SettingsDialog::fieldWidget(ConfigField field, int index) const {
    switch (field) {
        case ConfigField::CorpName:
            return edCorpName;
        case ConfigField::CorpNumber:
            return edCorpNumber;
        case ConfigField::PayDay:
            return edPayDay;
        case ConfigField::HoursPerDay:
            return edHoursPerDay;
        case ConfigField::EmpInsRate:
            return edEmpIns;
        case ConfigField::HealthInsRate:
            return edHealthIns;
        case ConfigField::CareInsRate:
            return edCareIns;
        case ConfigField::PensionRate:
            return edPension;
        case ConfigField::PensionFundRate:
            return edPensionFund;
        case ConfigField::FreeLabel:
            return edFree.at(std::size_t(index));
        case ConfigField::TokuSyoyo:
            return edTokuSyoyo;
        case ConfigField::AttendanceLabel:
            return edAttendance.at(std::size_t(index));
        case ConfigField::PaymentLabel:
            return edPayment.at(std::size_t(index));
    }
    return nullptr;
}

void SettingsDialog::focusField(ConfigField field, int index) {
    setPage(PageOf(field));
    QWidget* w = fieldWidget(field, index);
    w->setFocus();
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
}

void SettingsDialog::btSysSaveClick() {
    // A number still being typed counts as it will be shown.
    if (QWidget* w = focusWidget())
        if (auto* h = w->findChild<EditHelper*>(QString(), Qt::FindDirectChildrenOnly))
            h->normalise();

    const ConfigForm form = readForm();
    if (auto fault = CheckConfig(form)) {
        MessageBox::error(this, q(fault->message));
        focusField(fault->field, fault->index);
        return;
    }
    TBasicInfo info = ledger_.BasicInfo();
    SysOption option = ledger_.sysOption;
    StoreConfig(form, info, option);
    if (!platform::ui::guarded(this, [&] {
            platform::IniFile ini(iniFile_);
            SaveSysOption(ini, option, info.HoursPerDay);
        }))
        return;
    ledger_.BasicInfo() = info;
    ledger_.sysOption = option;
    if (RatesChanged(shown_, form))
        MessageBox::information(
            this, QStringLiteral("社員情報の編集画面で､保険料などの再設定が必要です。"));
    closing_ = true;
    accept();
}

bool SettingsDialog::mayClose() {
    if (!ledger_.BasicInfo().CorpName.empty()) return true;
    return MessageBox::confirm(
        this, QStringLiteral("基本情報が未設定の状態では、処理は正常に行われません。\r"
                             "設定を行わず、この画面を閉じますか？"));
}

void SettingsDialog::reject() {
    if (!mayClose()) return;
    closing_ = true;
    QDialog::reject();
}

void SettingsDialog::btCancelClick() {
    reject();
}

void SettingsDialog::btDefault1Click() {
    if (!MessageBox::confirm(this, kDefaultsQuestion)) return;
    ConfigForm f = readForm();
    ResetFreeItems(f);
    showForm(f);
}

void SettingsDialog::btDefault2Click() {
    if (!MessageBox::confirm(this, kDefaultsQuestion)) return;
    ConfigForm f = readForm();
    ResetItemNames(f);
    showForm(f);
}

void SettingsDialog::btSetPassClick() {
    if (!fmSetPass) fmSetPass = new PasswordDialog(iniFile_, this);
    runModal(*fmSetPass);
}

void SettingsDialog::btKenRituClick() {
    if (!fmKenRitu)
        fmKenRitu =
            new HealthRatesDialog(platform::paths::programDir() / kHealthRatesFileName, this);
    if (runModal(*fmKenRitu)) edHealthIns->setText(q(RateText(fmKenRitu->Rate)));
}

void SettingsDialog::rbBusinessClick(bool general) {
    edEmpIns->setText(q(EmploymentRateText(general)));
}

void SettingsDialog::attendanceLabelExit(int index) {
    if (checkingLabel_ || closing_) return;
    QLineEdit* e = edAttendance.at(std::size_t(index));
    auto fault = AttendanceLabelFault(index, s(e->text()));
    if (!fault) return;
    checkingLabel_ = true;
    MessageBox::error(this, q(*fault));
    setPage(ConfigPage::ItemNames);
    e->setFocus();
    checkingLabel_ = false;
}

bool SettingsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        for (std::size_t i = 0; i < edAttendance.size(); ++i)
            if (watched == edAttendance[i]) {
                // After the focus has settled, so the box does not fight the move.
                int index = int(i);
                QTimer::singleShot(0, this, [this, index] {
                    if (isVisible()) attendanceLabelExit(index);
                });
            }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace ledger::ui
