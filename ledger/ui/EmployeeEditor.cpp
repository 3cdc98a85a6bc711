#include "ledger/ui/EmployeeEditor.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <vector>

#include "ledger/Common.h"
#include "ledger/Ledger.h"
#include "ledger/NumberText.h"
#include "ledger/ui/CalculatorDialog.h"
#include "ledger/ui/DialogFont.h"
#include "ledger/ui/EditHelper.h"
#include "ledger/ui/GradeTableDialog.h"
#include "ledger/ui/MessageBoxSink.h"
#include "ledger/ui/NoticeWindow.h"
#include "platform/ui/Application.h"
#include "platform/ui/Ime.h"
#include "platform/ui/MessageBox.h"

namespace ledger::ui {

namespace {

using platform::ui::ImeMode;
using platform::ui::MessageBox;

QString q(const std::string& s) {
    return QString::fromStdString(s);
}
std::string s(const QString& t) {
    return t.toStdString();
}

constexpr std::array<const char*, kEmployeeAmounts> kAmountLabelNames{
    "lbKihon",     "lbYakuTea",   "lbFamiTea",   "lbFutuTea",   "lbSinTea",
    "lbKyFuTea",   "lbKySnTea",   "lbTuukin0",   "lbTuukin1",   "lbYukyu",
    "lbJuumin6",   "lbJuumin",    "lbFixTeate1", "lbFixTeate2", "lbFixTeate3",
    "lbFixKoujo1", "lbFixKoujo2", "lbFixKoujo3", "lbKekKojo",   "lbChiKojo",
    "lbKenhoRyo",  "lbKaigoRyo",  "lbKoseiRyo",  "lbKakekin",   "lbTesuryo"};

// The captions the user names in the settings: the index of each amount's
// payment label (kPaymentLabelKeys) or free label (kFreeLabelKeys).
struct UserLabel {
    EmployeeAmount amount;
    bool free;
    int index;
};
constexpr UserLabel kUserLabels[] = {
    {kAmBasePay, false, 0},          {kAmPostAllowance, false, 1},  {kAmFamilyAllowance, false, 2},
    {kAmOvertimeUnit, false, 3},     {kAmNightUnit, false, 4},      {kAmHolidayUnit, false, 5},
    {kAmHolidayNightUnit, false, 6}, {kAmCommuteFree, false, 7},    {kAmCommuteTaxed, false, 8},
    {kAmAbsenceDeduction, false, 9}, {kAmLateDeduction, false, 10}, {kAmFixedAllowance1, true, 0},
    {kAmFixedAllowance2, true, 1},   {kAmFixedAllowance3, true, 2}, {kAmFixedDeduction1, true, 6},
    {kAmFixedDeduction2, true, 7},   {kAmFixedDeduction3, true, 8}};

QComboBox* listCombo(QWidget* parent, const char* name, auto items) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    for (std::string_view i : items) c->addItem(QString::fromUtf8(i.data(), int(i.size())));
    return c;
}

QLineEdit* lineEdit(QWidget* parent, const char* name, int chars) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QString(chars, QChar('0'))) + 12);
    return e;
}

bool isInput(QWidget* w) {
    return qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
           qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w);
}

}  // namespace

EmployeeEditor::EmployeeEditor(ledger::Ledger& ledger, QWidget* parent)
    : QDialog(parent), ledger_(ledger) {
    setObjectName(QStringLiteral("fmMembEdit"));
    setWindowTitle(QStringLiteral("社員情報の編集"));
    setFont(dialogFont());
    runModal = [](QDialog& d) { return d.exec() == QDialog::Accepted; };
    calculator = [](QWidget* owner) -> std::optional<double> {
        CalculatorDialog calc(owner);
        if (calc.exec() != QDialog::Accepted) return std::nullopt;
        return calc.CalcValue;
    };

    constexpr std::array<const char*, kEmployeeAmounts> names{
        "edChingin1", "edYakuin",   "edFamily",   "edChingin2", "edChingin3",
        "edChingin4", "edChingin5", "edKoutuhi0", "edKoutuhi1", "edYukyu",
        "edJuumin6",  "edJuumin",   "edTeate1",   "edTeate2",   "edTeate3",
        "edKoujo1",   "edKoujo2",   "edKoujo3",   "edKekkin",   "edChisou",
        "edKenhoRyo", "edKaigoRyo", "edKoseiRyo", "edKakekin",  "edTesuryo"};
    for (int a = 0; a < kEmployeeAmounts; ++a) amountEdit(EmployeeAmount(a), names[std::size_t(a)]);

    PageCtrl = new QTabWidget(this);
    PageCtrl->addTab(buildBasicPage(), QStringLiteral("基本情報/振込先"));
    PageCtrl->addTab(buildPayPage(), QStringLiteral("支給/控除/保険料"));

    auto button = [this](const char* text, const char* name) {
        auto* b = new QPushButton(QString::fromUtf8(text), this);
        b->setObjectName(name);
        return b;
    };
    sbBack = button("前データ", "sbBack");
    sbNext = button("次データ", "sbNext");
    sbNewBase = button("基本に設定", "sbNewBase");
    sbAutoSet = button("等級表から入力", "sbAutoSet");
    sbCalculator = button("電卓起動", "sbCalculator");
    bbOk = button("OK", "bbOk");
    bbCancel = button("キャンセル", "bbCancel");
    // Tool buttons never take the focus: the field last entered stays the target.
    for (QPushButton* b : {sbBack, sbNext, sbNewBase, sbAutoSet, sbCalculator})
        b->setFocusPolicy(Qt::NoFocus);
    sbCalculator->setEnabled(false);

    auto* tools = new QHBoxLayout;
    for (QPushButton* b : {sbBack, sbNext, sbNewBase, sbAutoSet, sbCalculator}) tools->addWidget(b);
    tools->addStretch();
    tools->addWidget(bbOk);
    tools->addWidget(bbCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageCtrl);
    layout->addLayout(tools);

    // The shared field behaviour, then this editor's own keys (filters installed
    // later see the keys first).
    const SysOption& opt = ledger_.sysOption;
    EditHelper::attachText(edSimei, kNameBytes, opt);
    EditHelper::attachText(edSimeiF, kKanaBytes, opt);
    // Digits-only fields overtype; only fields with a number format select on entry.
    EditHelper::attachDigits(edMyNo, kMyNumberDigits, opt)->setOvertypes(true);
    EditHelper::attachText(edBusyo, kDeptBytes, opt);
    EditHelper::attachText(edSyaCod, kCodeBytes, opt);
    EditHelper::attachText(cbKubun, kKindTextBytes, opt);
    for (QLineEdit* e : {edBirthY, edBirthM, edBirthD, edFuyou, edSinzoku})
        EditHelper::attachNumber(e, 20, opt)->setReformat(EditHelper::amountReformat(2));
    EditHelper::attachText(edKinyu, kBankNameBytes, opt);
    EditHelper::attachText(edKinyuF, kBankKanaBytes, opt);
    EditHelper::attachText(edSiten, kBankNameBytes, opt);
    EditHelper::attachText(edSitenF, kBankKanaBytes, opt);
    EditHelper::attachDigits(edKouzaNo, kAccountNoDigits, opt)->setOvertypes(true);
    for (int a = 0; a < kEmployeeAmounts; ++a) {
        auto am = EmployeeAmount(a);
        EditHelper::attachNumber(edAmount[std::size_t(a)], AmountFormatCode(am), opt)
            ->setReformat(EditHelper::amountReformat(AmountWidth(am)));
    }
    for (QWidget* w : std::initializer_list<QWidget*>{
             cbKeitai, cbSyugyo, cbBirthG, rbZeigaku0, rbZeigaku1, rbFurikomi, rbGenkin, rbFutuu,
             rbTouza, rbChochi, cbHide, cbKoyou, cbKenkou, cbKaigo, cbNenHoken, cbNenKikin})
        EditHelper::attachEnter(w);

    platform::ui::setImeMode(edSimei, ImeMode::Hiragana);
    for (QLineEdit* e : {edSimeiF, edKinyuF, edSitenF})
        platform::ui::setImeMode(e, ImeMode::HalfKatakana);
    for (QLineEdit* e : {edMyNo, edKouzaNo, edBirthY, edBirthM, edBirthD, edFuyou, edSinzoku})
        platform::ui::setImeMode(e, ImeMode::Off);
    for (QLineEdit* e : edAmount) platform::ui::setImeMode(e, ImeMode::Off);

    // Enter and Tab walk the fields in the order they are read, whatever the
    // order they were made in.
    std::vector<QWidget*> order{edSimei,    edSimeiF,   edMyNo,    cbHide,
                                edBusyo,    edSyaCod,   cbKubun,   cbKeitai,
                                cbSyugyo,   cbBirthG,   edBirthY,  edBirthM,
                                edBirthD,   edFuyou,    edSinzoku, rbZeigaku0,
                                rbZeigaku1, rbFurikomi, rbGenkin,  edKinyu,
                                edKinyuF,   edSiten,    edSitenF,  rbFutuu,
                                rbTouza,    rbChochi,   edKouzaNo, edAmount[kAmTransferFee]};
    for (EmployeeAmount a :
         {kAmBasePay,         kAmPostAllowance,    kAmFamilyAllowance,  kAmFixedAllowance1,
          kAmFixedAllowance2, kAmFixedAllowance3,  kAmOvertimeUnit,     kAmNightUnit,
          kAmHolidayUnit,     kAmHolidayNightUnit, kAmCommuteFree,      kAmCommuteTaxed,
          kAmPaidLeavePay,    kAmResidentTaxJune,  kAmResidentTax,      kAmFixedDeduction1,
          kAmFixedDeduction2, kAmFixedDeduction3,  kAmAbsenceDeduction, kAmLateDeduction})
        order.push_back(edAmount[a]);
    for (QWidget* w : std::initializer_list<QWidget*>{
             cbKoyou, cbKenkou, edAmount[kAmHealthPremium], cbKaigo, edAmount[kAmCarePremium],
             cbNenHoken, edAmount[kAmPensionPremium], cbNenKikin, edAmount[kAmPensionFundPremium],
             bbOk, bbCancel})
        order.push_back(w);
    for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);

    for (QWidget* w : PageCtrl->findChildren<QWidget*>())
        if (isInput(w)) w->installEventFilter(this);

    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { focusChanged(now); });
    connect(cbKenkou, &QCheckBox::clicked, this, &EmployeeEditor::cbKenkouClick);
    connect(cbKaigo, &QCheckBox::clicked, this, &EmployeeEditor::cbKaigoClick);
    connect(cbNenHoken, &QCheckBox::clicked, this, &EmployeeEditor::cbNenHokenClick);
    connect(cbNenKikin, &QCheckBox::clicked, this, &EmployeeEditor::cbNenKikinClick);
    connect(cbKeitai, &QComboBox::currentIndexChanged, this, &EmployeeEditor::cbKeitaiChange);
    connect(rbFurikomi, &QRadioButton::toggled, this, &EmployeeEditor::rbFuri_GenClick);
    connect(cbHide, &QCheckBox::clicked, this, &EmployeeEditor::cbHideClick);
    connect(PageCtrl, &QTabWidget::currentChanged, this, &EmployeeEditor::PageCtrlChange);
    connect(sbBack, &QPushButton::clicked, this, [this] { sbBackNextDataClick(-1); });
    connect(sbNext, &QPushButton::clicked, this, [this] { sbBackNextDataClick(+1); });
    connect(sbNewBase, &QPushButton::clicked, this, &EmployeeEditor::sbNewBaseClick);
    connect(sbAutoSet, &QPushButton::clicked, this, &EmployeeEditor::sbAutoSetClick);
    connect(sbCalculator, &QPushButton::clicked, this, &EmployeeEditor::sbCalculatorClick);
    connect(bbOk, &QPushButton::clicked, this, &EmployeeEditor::bbOkClick);
    connect(bbCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QWidget* EmployeeEditor::buildBasicPage() {
    auto* page = new QWidget;
    auto* person = new QGroupBox(QStringLiteral("基本情報"), page);
    auto* g = new QGridLayout(person);
    int row = 0;
    auto add = [&](const char* caption, QWidget* w, QWidget* extra = nullptr) {
        g->addWidget(new QLabel(QString::fromUtf8(caption), person), row, 0);
        auto* line = new QHBoxLayout;
        line->addWidget(w);
        if (extra) line->addWidget(extra);
        line->addStretch();
        g->addLayout(line, row++, 1);
    };
    edSimei = lineEdit(person, "edSimei", 18);
    edSimeiF = lineEdit(person, "edSimeiF", 14);
    edMyNo = lineEdit(person, "edMyNo", 14);
    // The number is hidden as stars, whatever the style would use.
    edMyNo->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    cbHide = new QCheckBox(QStringLiteral("隠す"), person);
    cbHide->setObjectName("cbHide");
    cbHide->setChecked(true);
    edBusyo = lineEdit(person, "edBusyo", 18);
    edSyaCod = lineEdit(person, "edSyaCod", 12);
    cbKubun = listCombo(person, "cbKubun", kEmployeeKinds);
    cbKubun->setEditable(true);
    cbKubun->setInsertPolicy(QComboBox::NoInsert);
    cbKubun->setFixedWidth(cbKubun->fontMetrics().horizontalAdvance(QString(14, QChar('0'))) + 30);
    cbKeitai = listCombo(person, "cbKeitai", kPayForms);
    cbSyugyo = listCombo(person, "cbSyugyo", kWorkStatuses);
    cbBirthG = listCombo(person, "cbBirthG", kBirthEras);
    edBirthY = lineEdit(person, "edBirthY", 3);
    edBirthM = lineEdit(person, "edBirthM", 3);
    edBirthD = lineEdit(person, "edBirthD", 3);
    edFuyou = lineEdit(person, "edFuyou", 3);
    edSinzoku = lineEdit(person, "edSinzoku", 3);
    for (QLineEdit* e : {edBirthY, edBirthM, edBirthD, edFuyou, edSinzoku})
        e->setAlignment(Qt::AlignRight);
    rbZeigaku0 = new QRadioButton(QStringLiteral("甲欄"), person);
    rbZeigaku1 = new QRadioButton(QStringLiteral("乙欄"), person);
    rbZeigaku0->setObjectName("rbZeigaku0");
    rbZeigaku1->setObjectName("rbZeigaku1");
    auto* taxGroup = new QButtonGroup(person);
    taxGroup->addButton(rbZeigaku0);
    taxGroup->addButton(rbZeigaku1);

    add("氏名", edSimei);
    add("ﾌﾘｶﾞﾅ", edSimeiF);
    add("ﾏｲﾅﾝﾊﾞｰ", edMyNo, cbHide);
    add("部署", edBusyo);
    add("社員コード", edSyaCod);
    add("社員区分", cbKubun);
    add("支給形態", cbKeitai);
    add("就業形態", cbSyugyo);
    {
        g->addWidget(new QLabel(QStringLiteral("生年月日"), person), row, 0);
        auto* line = new QHBoxLayout;
        line->addWidget(cbBirthG);
        line->addWidget(edBirthY);
        line->addWidget(new QLabel(QStringLiteral("年"), person));
        line->addWidget(edBirthM);
        line->addWidget(new QLabel(QStringLiteral("月"), person));
        line->addWidget(edBirthD);
        line->addWidget(new QLabel(QStringLiteral("日"), person));
        line->addStretch();
        g->addLayout(line, row++, 1);
    }
    add("扶養人数", edFuyou, new QLabel(QStringLiteral("人"), person));
    add("扶養親族等の数", edSinzoku, new QLabel(QStringLiteral("人"), person));
    add("税額表", rbZeigaku0, rbZeigaku1);
    g->setRowStretch(row, 1);

    auto* bank = new QGroupBox(QStringLiteral("振込先"), page);
    auto* bl = new QVBoxLayout(bank);
    rbFurikomi = new QRadioButton(QStringLiteral("振込"), bank);
    rbGenkin = new QRadioButton(QStringLiteral("現金"), bank);
    rbFurikomi->setObjectName("rbFurikomi");
    rbGenkin->setObjectName("rbGenkin");
    auto* payGroup = new QButtonGroup(bank);
    payGroup->addButton(rbFurikomi);
    payGroup->addButton(rbGenkin);
    auto* payLine = new QHBoxLayout;
    payLine->addWidget(new QLabel(QStringLiteral("支払方法"), bank));
    payLine->addWidget(rbFurikomi);
    payLine->addWidget(rbGenkin);
    payLine->addStretch();
    bl->addLayout(payLine);

    pnBank = new QWidget(bank);
    pnBank->setObjectName("pnBank");
    auto* k = new QGridLayout(pnBank);
    k->setContentsMargins(0, 0, 0, 0);
    edKinyu = lineEdit(pnBank, "edKinyu", 26);
    edKinyuF = lineEdit(pnBank, "edKinyuF", 18);
    edSiten = lineEdit(pnBank, "edSiten", 26);
    edSitenF = lineEdit(pnBank, "edSitenF", 18);
    rbFutuu = new QRadioButton(QStringLiteral("普通"), pnBank);
    rbTouza = new QRadioButton(QStringLiteral("当座"), pnBank);
    rbChochi = new QRadioButton(QStringLiteral("貯蓄"), pnBank);
    rbFutuu->setObjectName("rbFutuu");
    rbTouza->setObjectName("rbTouza");
    rbChochi->setObjectName("rbChochi");
    auto* typeGroup = new QButtonGroup(pnBank);
    for (QRadioButton* r : {rbFutuu, rbTouza, rbChochi}) typeGroup->addButton(r);
    edKouzaNo = lineEdit(pnBank, "edKouzaNo", 9);
    int r = 0;
    auto addBank = [&](const char* caption, QWidget* w, QWidget* w2 = nullptr,
                       QWidget* w3 = nullptr) {
        k->addWidget(new QLabel(QString::fromUtf8(caption), pnBank), r, 0);
        auto* line = new QHBoxLayout;
        for (QWidget* x : {w, w2, w3})
            if (x) line->addWidget(x);
        line->addStretch();
        k->addLayout(line, r++, 1);
    };
    addBank("金融機関名", edKinyu);
    addBank("ﾌﾘｶﾞﾅ", edKinyuF);
    addBank("支店名", edSiten);
    addBank("ﾌﾘｶﾞﾅ", edSitenF);
    addBank("預金種目", rbFutuu, rbTouza, rbChochi);
    addBank("口座番号", edKouzaNo);
    lbAmount[kAmTransferFee]->setText(QStringLiteral("振込手数料"));
    lbAmount[kAmTransferFee]->setParent(pnBank);
    edAmount[kAmTransferFee]->setParent(pnBank);
    k->addWidget(lbAmount[kAmTransferFee], r, 0);
    auto* feeLine = new QHBoxLayout;
    feeLine->addWidget(edAmount[kAmTransferFee]);
    feeLine->addWidget(new QLabel(QStringLiteral("円"), pnBank));
    feeLine->addStretch();
    k->addLayout(feeLine, r++, 1);
    bl->addWidget(pnBank);
    bl->addStretch();

    auto* layout = new QHBoxLayout(page);
    layout->addWidget(person);
    layout->addWidget(bank);
    return page;
}

QLineEdit* EmployeeEditor::amountEdit(EmployeeAmount a, const char* name) {
    auto* e = new QLineEdit;
    e->setObjectName(name);
    e->setAlignment(Qt::AlignRight);
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QString(AmountWidth(a) + 1, QChar('0'))) +
                     12);
    edAmount[a] = e;
    auto* l = new QLabel;
    l->setObjectName(kAmountLabelNames[a]);
    lbAmount[a] = l;
    return e;
}

QWidget* EmployeeEditor::buildPayPage() {
    // Captions the settings do not name.
    lbAmount[kAmPaidLeavePay]->setText(QStringLiteral("有休時支給額"));
    lbAmount[kAmResidentTaxJune]->setText(QStringLiteral("住民税(6月)"));
    lbAmount[kAmResidentTax]->setText(QStringLiteral("住民税(以外)"));
    lbAmount[kAmHealthPremium]->setText(QStringLiteral("健康保険料"));
    lbAmount[kAmCarePremium]->setText(QStringLiteral("介護保険料"));
    lbAmount[kAmPensionPremium]->setText(QStringLiteral("厚生年金保険料"));
    lbAmount[kAmPensionFundPremium]->setText(QStringLiteral("掛け金"));

    auto* page = new QWidget;
    auto group = [page](const char* title, std::initializer_list<EmployeeAmount> amounts,
                        auto& edits, auto& labels) {
        auto* box = new QGroupBox(QString::fromUtf8(title), page);
        auto* g = new QGridLayout(box);
        int row = 0;
        for (EmployeeAmount a : amounts) {
            labels[a]->setParent(box);
            edits[a]->setParent(box);
            g->addWidget(labels[a], row, 0);
            g->addWidget(edits[a], row, 1);
            g->addWidget(new QLabel(QStringLiteral("円"), box), row++, 2);
        }
        g->setRowStretch(row, 1);
        return box;
    };
    QGroupBox* pay = group(
        "支給",
        {kAmBasePay, kAmPostAllowance, kAmFamilyAllowance, kAmFixedAllowance1, kAmFixedAllowance2,
         kAmFixedAllowance3, kAmOvertimeUnit, kAmNightUnit, kAmHolidayUnit, kAmHolidayNightUnit,
         kAmCommuteFree, kAmCommuteTaxed, kAmPaidLeavePay},
        edAmount, lbAmount);
    QGroupBox* ded =
        group("控除",
              {kAmResidentTaxJune, kAmResidentTax, kAmFixedDeduction1, kAmFixedDeduction2,
               kAmFixedDeduction3, kAmAbsenceDeduction, kAmLateDeduction},
              edAmount, lbAmount);

    auto* ins = new QGroupBox(QStringLiteral("社会保険"), page);
    auto* g = new QGridLayout(ins);
    auto check = [ins](const char* text, const char* name) {
        auto* c = new QCheckBox(QString::fromUtf8(text), ins);
        c->setObjectName(name);
        return c;
    };
    cbKoyou = check("雇用保険対象者", "cbKoyou");
    cbKenkou = check("健康保険対象者", "cbKenkou");
    cbKaigo = check("介護保険料を徴収", "cbKaigo");
    cbNenHoken = check("厚生年金対象者", "cbNenHoken");
    cbNenKikin = check("厚生年金基金加入", "cbNenKikin");
    int row = 0;
    g->addWidget(cbKoyou, row++, 0, 1, 3);
    auto premium = [&](QCheckBox* c, EmployeeAmount a) {
        g->addWidget(c, row++, 0, 1, 3);
        lbAmount[a]->setParent(ins);
        edAmount[a]->setParent(ins);
        g->addWidget(lbAmount[a], row, 0, Qt::AlignRight);
        g->addWidget(edAmount[a], row, 1);
        g->addWidget(new QLabel(QStringLiteral("円"), ins), row++, 2);
    };
    premium(cbKenkou, kAmHealthPremium);
    premium(cbKaigo, kAmCarePremium);
    premium(cbNenHoken, kAmPensionPremium);
    premium(cbNenKikin, kAmPensionFundPremium);
    g->setRowStretch(row, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(ded);
    right->addWidget(ins);
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(pay);
    layout->addLayout(right);
    return page;
}

bool EmployeeEditor::editSlot(int slot) {
    EditSlot = slot;
    StoredSlot = 0;
    FormShow();
    return runModal(*this);
}

bool EmployeeEditor::addNew() {
    return editSlot(-1);
}

int& EmployeeEditor::selectedGrade() {
    return fmKenhoHyo ? fmKenhoHyo->SelectedGrade : gradeWithoutDialog_;
}

void EmployeeEditor::FormShow() {
    setResult(0);
    const SysOption& opt = ledger_.sysOption;
    for (const UserLabel& u : kUserLabels)
        lbAmount[u.amount]->setText(q(u.free ? opt.freeLabels[std::size_t(u.index)]
                                             : opt.paymentLabels[std::size_t(u.index)]));
    if (EditSlot < 0) LoadTemplate();
    sbBackNextDataClick(0);
    cbHideClick();
    PageCtrl->setCurrentIndex(0);
    PageCtrlChange();
    edSimei->setFocus();
}

void EmployeeEditor::LoadTemplate() {
    MessageBoxSink sink(this);
    EditRec = ledger::LoadTemplate(ledger_.dataPath, sink);
}

void EmployeeEditor::LoadEmployee(int slot) {
    if (slot > 0) EditRec = ledger_.Employee(slot);
    NormaliseKindText(EditRec);
    OrigRec = EditRec;
    putForm(FormFromRecord(EditRec));
    cbKeitaiChange();
    cbKenkouClick();
    cbNenHokenClick();
    cbNenKikinClick();
    rbFuri_GenClick();
}

EmployeeForm EmployeeEditor::readForm() const {
    EmployeeForm f;
    f.name = s(edSimei->text());
    f.kana = s(edSimeiF->text());
    f.myNumber = s(edMyNo->text());
    f.dept = s(edBusyo->text());
    f.code = s(edSyaCod->text());
    f.kindText = s(cbKubun->currentText());
    f.payFormIndex = cbKeitai->currentIndex();
    f.statusIndex = cbSyugyo->currentIndex();
    f.birthEraIndex = cbBirthG->currentIndex();
    f.birthYear = s(edBirthY->text());
    f.birthMonth = s(edBirthM->text());
    f.birthDay = s(edBirthD->text());
    f.dependants = s(edFuyou->text());
    f.taxDependants = s(edSinzoku->text());
    f.taxColumnOtsu = !rbZeigaku0->isChecked();
    f.cash = rbGenkin->isChecked();
    f.bankName = s(edKinyu->text());
    f.bankKana = s(edKinyuF->text());
    f.branchName = s(edSiten->text());
    f.branchKana = s(edSitenF->text());
    f.accountType = rbTouza->isChecked() ? 1 : rbChochi->isChecked() ? 2 : 0;
    f.accountNo = s(edKouzaNo->text());
    for (int a = 0; a < kEmployeeAmounts; ++a)
        f.amounts[std::size_t(a)] = s(edAmount[std::size_t(a)]->text());
    f.empInsured = cbKoyou->isChecked();
    f.healthInsured = cbKenkou->isChecked();
    f.careInsured = cbKaigo->isChecked();
    f.pensionInsured = cbNenHoken->isChecked();
    f.pensionFundMember = cbNenKikin->isChecked();
    return f;
}

void EmployeeEditor::putForm(const EmployeeForm& f) {
    edSimei->setText(q(f.name));
    edSimeiF->setText(q(f.kana));
    edMyNo->setText(q(f.myNumber));
    edBusyo->setText(q(f.dept));
    edSyaCod->setText(q(f.code));
    cbKubun->setCurrentIndex(KindFromText(f.kindText) - 1);
    cbKubun->setEditText(q(f.kindText));
    cbKeitai->setCurrentIndex(f.payFormIndex);
    cbSyugyo->setCurrentIndex(f.statusIndex);
    cbBirthG->setCurrentIndex(f.birthEraIndex);
    edBirthY->setText(q(f.birthYear));
    edBirthM->setText(q(f.birthMonth));
    edBirthD->setText(q(f.birthDay));
    edFuyou->setText(q(f.dependants));
    edSinzoku->setText(q(f.taxDependants));
    (f.taxColumnOtsu ? rbZeigaku1 : rbZeigaku0)->setChecked(true);
    (f.cash ? rbGenkin : rbFurikomi)->setChecked(true);
    edKinyu->setText(q(f.bankName));
    edKinyuF->setText(q(f.bankKana));
    edSiten->setText(q(f.branchName));
    edSitenF->setText(q(f.branchKana));
    (f.accountType == 1 ? rbTouza : f.accountType == 2 ? rbChochi : rbFutuu)->setChecked(true);
    edKouzaNo->setText(q(f.accountNo));
    for (int a = 0; a < kEmployeeAmounts; ++a)
        edAmount[std::size_t(a)]->setText(q(f.amounts[std::size_t(a)]));
    cbKoyou->setChecked(f.empInsured);
    cbKenkou->setChecked(f.healthInsured);
    cbKaigo->setChecked(f.careInsured);
    cbNenHoken->setChecked(f.pensionInsured);
    cbNenKikin->setChecked(f.pensionFundMember);
}

void EmployeeEditor::sbBackNextDataClick(int tag) {
    if (tag != 0) {
        normaliseFocusedField();
        bool stored = platform::ui::guarded(this, [&] {
            EditRec = StoreEmployee(readForm(), EditRec, selectedGrade(),
                                    UniqueEmployeeKey(ledger_, ledger_.clock));
        });
        if (!stored) return;
        if (RecordsDiffer(EditRec, OrigRec)) {
            MessageBox::warning(this, QStringLiteral("データ内容に変更がある場合は出来ません。"));
            return;
        }
        EditSlot += tag;
    }
    LoadEmployee(EditSlot);
    sbBack->setEnabled(CanMoveBack(EditSlot));
    sbNext->setEnabled(CanMoveNext(ledger_, EditSlot));
    selectedGrade() = EditRec.HealthGrade;
    if (tag != 0) focusLast();
}

void EmployeeEditor::bbOkClick() {
    normaliseFocusedField();
    const EmployeeForm form = readForm();
    if (auto check = CheckEmployee(form, ledger_, EditRec.Key.bytes(), EditSlot)) {
        MessageBox::error(this, q(check->message));
        focusField(*check);
        return;
    }
    TEmployeeRec rec{};
    bool stored = platform::ui::guarded(this, [&] {
        rec = StoreEmployee(form, EditRec, selectedGrade(),
                            UniqueEmployeeKey(ledger_, ledger_.clock));
    });
    if (!stored) return;
    EditRec = rec;
    const int slot = EditSlot < 0 ? FirstFreeSlot(ledger_) : EditSlot;
    ledger_.Employee(slot) = EditRec;
    StoredSlot = slot;
    accept();
}

void EmployeeEditor::normaliseFocusedField() {
    // Leaving the record by a page key or a button that takes no focus does not
    // leave the field: give it the check leaving it would.
    if (QWidget* f = focusWidget())
        if (auto* h = f->findChild<EditHelper*>(QString(), Qt::FindDirectChildrenOnly))
            h->normalise();
}

void EmployeeEditor::focusField(const EmployeeCheck& check) {
    QWidget* w = nullptr;
    switch (check.field) {
        case EmployeeField::Name:
            w = edSimei;
            break;
        case EmployeeField::MyNumber:
            w = edMyNo;
            break;
        case EmployeeField::Code:
            w = edSyaCod;
            break;
        case EmployeeField::BirthYear:
            w = edBirthY;
            break;
        case EmployeeField::BirthMonth:
            w = edBirthM;
            break;
        case EmployeeField::BirthDay:
            w = edBirthD;
            break;
        case EmployeeField::Dependants:
            w = edFuyou;
            break;
        case EmployeeField::TaxDependants:
            w = edSinzoku;
            break;
        case EmployeeField::Amount:
            if (check.amount < kEmployeeAmounts) w = edAmount[check.amount];
            break;
        case EmployeeField::None:
            break;
    }
    if (!w) return;
    PageCtrl->setCurrentIndex(PageCtrl->widget(0)->isAncestorOf(w) ? 0 : 1);
    w->setFocus();
}

void EmployeeEditor::focusLast() {
    QWidget* w = LastFocused;
    if (!w || !w->isEnabled() || !w->isVisibleTo(this)) w = edSimei;
    if (!w->isVisibleTo(this)) PageCtrl->setCurrentIndex(0);
    w->setFocus();
}

void EmployeeEditor::focusChanged(QWidget* now) {
    if (!now || !isAncestorOf(now)) return;
    // The line of the kind combo stands for the combo.
    if (now == cbKubun->lineEdit()) now = cbKubun;
    if (!isInput(now)) return;
    LastFocused = now;
    auto* edit = qobject_cast<QLineEdit*>(now);
    bool amount = edit && std::find(edAmount.begin(), edAmount.end(), edit) != edAmount.end();
    if (amount) NumericField = edit;
    sbCalculator->setEnabled(amount && calculator);
}

void EmployeeEditor::showNotice(const QString& text) {
    if (!fmNotice) return;
    fmNotice->setMessage(text);
    const QRect o = frameGeometry();
    fmNotice->move(o.left() + (o.width() - fmNotice->width()) / 2,
                   o.top() + (o.height() - fmNotice->height()) / 2);
    runModal(*fmNotice);
}

void EmployeeEditor::sbNewBaseClick() {
    auto answer =
        MessageBox::yesNoCancel(this,
                                QStringLiteral("現在の入力内容を新規作成時の基本に設定します。\r( "
                                               "｢いいえ｣を選択すると基本設定を解除します)"),
                                platform::ui::Icon::Question);
    if (answer == platform::ui::Answer::Yes) {
        bool saved = platform::ui::guarded(
            this, [&] { SaveTemplate(ledger_.dataPath, MakeTemplate(readForm())); });
        if (saved) showNotice(QStringLiteral("新規作成時の基本にしました。"));
    } else if (answer == platform::ui::Answer::No) {
        if (MessageBox::confirm(this, QStringLiteral("新規作成時の基本設定を解除します。"))) {
            bool removed = platform::ui::guarded(this, [&] { RemoveTemplate(ledger_.dataPath); });
            if (removed) {
                if (EditSlot < 0) {
                    LoadTemplate();
                    LoadEmployee(-1);
                }
                showNotice(QStringLiteral("基本に設定を解除しました。"));
            }
        }
    }
    focusLast();
}

void EmployeeEditor::sbAutoSetClick() {
    focusLast();
    if (GradeAskPending) {
        if (!MessageBox::confirm(this,
                                 QStringLiteral("健康保険等級表から健康･介護･厚生年金保険料と\r"
                                                "厚生年金基金の掛け金をセットします。")))
            return;
        GradeAskPending = false;
    }
    const GradeTable& table = ledger_.tables.grades;
    if (!fmKenhoHyo || table.Count < 1) return;
    if (!runModal(*fmKenhoHyo)) return;
    GradePremiums p = PremiumsFromGrade(table, ledger_.BasicInfo(), fmKenhoHyo->SelectedGrade);
    edAmount[kAmHealthPremium]->setText(q(FmtAmount(7, p.health)));
    edAmount[kAmCarePremium]->setText(q(FmtAmount(7, p.care)));
    edAmount[kAmPensionPremium]->setText(q(FmtAmount(7, p.pension)));
    edAmount[kAmPensionFundPremium]->setText(q(FmtAmount(7, p.pensionFund)));
}

void EmployeeEditor::sbCalculatorClick() {
    if (!calculator || !NumericField) return;
    std::optional<double> value = calculator(this);
    if (value) {
        auto it = std::find(edAmount.begin(), edAmount.end(), NumericField);
        auto a = EmployeeAmount(it - edAmount.begin());
        platform::ui::guarded(this,
                              [&] { NumericField->setText(q(CalculatorAmountText(a, *value))); });
    }
    NumericField->setFocus();
}

void EmployeeEditor::cbKenkouClick() {
    const bool on = cbKenkou->isChecked();
    lbAmount[kAmHealthPremium]->setEnabled(on);
    edAmount[kAmHealthPremium]->setEnabled(on);
    cbKaigo->setEnabled(on);
    if (!on) cbKaigo->setChecked(false);
    cbKaigoClick();
}

void EmployeeEditor::cbKaigoClick() {
    const bool on = cbKenkou->isChecked() && cbKaigo->isChecked();
    lbAmount[kAmCarePremium]->setEnabled(on);
    edAmount[kAmCarePremium]->setEnabled(on);
}

void EmployeeEditor::cbNenHokenClick() {
    lbAmount[kAmPensionPremium]->setEnabled(cbNenHoken->isChecked());
    edAmount[kAmPensionPremium]->setEnabled(cbNenHoken->isChecked());
}

void EmployeeEditor::cbNenKikinClick() {
    lbAmount[kAmPensionFundPremium]->setEnabled(cbNenKikin->isChecked());
    edAmount[kAmPensionFundPremium]->setEnabled(cbNenKikin->isChecked());
}

void EmployeeEditor::cbKeitaiChange() {
    const bool daily = cbKeitai->currentIndex() > 0;
    lbAmount[kAmPaidLeavePay]->setEnabled(daily);
    edAmount[kAmPaidLeavePay]->setEnabled(daily);
}

void EmployeeEditor::rbFuri_GenClick() {
    const bool transfer = rbFurikomi->isChecked();
    pnBank->setEnabled(transfer);  // the fee included
}

void EmployeeEditor::cbHideClick() {
    edMyNo->setEchoMode(cbHide->isChecked() ? QLineEdit::Password : QLineEdit::Normal);
}

void EmployeeEditor::PageCtrlChange() {
    sbAutoSet->setEnabled(PageCtrl->currentIndex() == 1);
}

bool EmployeeEditor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    auto* e = static_cast<QKeyEvent*>(event);
    if (e->key() == Qt::Key_PageDown || e->key() == Qt::Key_PageUp) {
        QPushButton* b = e->key() == Qt::Key_PageDown ? sbBack : sbNext;
        if (!b->isEnabled()) return false;
        sbBackNextDataClick(b == sbBack ? -1 : +1);
        return true;
    }
    if (e->key() == Qt::Key_Backspace && (watched == cbKubun || watched == cbKubun->lineEdit())) {
        MessageBox::information(this, QStringLiteral("この項目ではBackSpaceキーは使用できません。\r"
                                                     "Deleteキーで編集を行って下さい。"));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void EmployeeEditor::done(int result) {
    edSimei->setFocus();
    QDialog::done(result);
}

}  // namespace ledger::ui
