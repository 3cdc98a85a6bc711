#include "withholding/ui/FamilyDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ledger/Ledger.h"
#include "ledger/ui/EditHelper.h"
#include "platform/ui/Ime.h"
#include "platform/ui/MessageBox.h"
#include "withholding/WithholdingFile.h"

namespace withholding::ui {

using ledger::ui::EditHelper;

namespace {
QString q(const std::string& s) {
    return QString::fromStdString(s);
}

const char* const kEntrySuffix[kFamilyEntries] = {"Hai", "Ko1", "Ko2", "Ko3", "Ko4",
                                                  "161", "162", "163", "164"};
}  // namespace

FamilyDialog::FamilyDialog(ledger::Ledger& ledger, WithholdingData& data, QWidget* parent)
    : QDialog(parent), ledger_(ledger), data_(data) {
    setObjectName(QStringLiteral("fmFamily"));
    setWindowTitle(QStringLiteral("配偶者／扶養親族"));
    setModal(true);
    const auto& options = ledger_.sysOption;
    auto* top = new QVBoxLayout(this);
    const int charW = fontMetrics().horizontalAdvance(QLatin1Char('0'));

    auto makeEntry = [&](int i) {
        const QString sfx = QString::fromLatin1(kEntrySuffix[i]);
        edName[i] = new QLineEdit(this);
        edName[i]->setObjectName(QStringLiteral("edName_") + sfx);
        edName[i]->setFixedWidth(charW * 16 + 12);
        EditHelper::attachText(edName[i], 16, options);
        platform::ui::setImeMode(edName[i], platform::ui::ImeMode::Hiragana);
        reading_[i] = new platform::ui::ImeReading(edName[i]);
        connect(edName[i], &QLineEdit::textChanged, this, [this, i] { nameEdited(i); });
        edFuri[i] = new QLineEdit(this);
        edFuri[i]->setObjectName(QStringLiteral("edFuri_") + sfx);
        edFuri[i]->setFixedWidth(charW * 20 + 12);
        EditHelper::attachText(edFuri[i], 20, options);
        platform::ui::setImeMode(edFuri[i], platform::ui::ImeMode::HalfKatakana);
        edNumb[i] = new QLineEdit(this);
        edNumb[i]->setObjectName(QStringLiteral("edNumb_") + sfx);
        edNumb[i]->setFixedWidth(charW * 12 + 16);
        edNumb[i]->setMaxLength(12);
        EditHelper::attachText(edNumb[i], 12, options);
        platform::ui::setImeMode(edNumb[i], platform::ui::ImeMode::Off);
        // The password character is '*', as the numbers were always hidden.
        edNumb[i]->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
        cbHiKi[i] = new QCheckBox(QStringLiteral("非居住"), this);
        cbHiKi[i]->setObjectName(QStringLiteral("cbHiKi_") + sfx);
        EditHelper::attachEnter(cbHiKi[i]);
    };
    auto group = [&](const QString& title, int first, int count) {
        auto* box = new QGroupBox(title, this);
        auto* g = new QGridLayout(box);
        g->addWidget(new QLabel(QStringLiteral("氏名"), box), 0, 1);
        g->addWidget(new QLabel(QStringLiteral("フリガナ"), box), 0, 2);
        g->addWidget(new QLabel(QStringLiteral("個人番号"), box), 0, 3);
        static const char* const digits[] = {"１", "２", "３", "４"};
        for (int r = 0; r < count; ++r) {
            const int i = first + r;
            makeEntry(i);
            if (count > 1) g->addWidget(new QLabel(QString::fromUtf8(digits[r]), box), r + 1, 0);
            g->addWidget(edName[i], r + 1, 1);
            g->addWidget(edFuri[i], r + 1, 2);
            g->addWidget(edNumb[i], r + 1, 3);
            g->addWidget(cbHiKi[i], r + 1, 4);
        }
        g->setColumnStretch(5, 1);
        top->addWidget(box);
    };
    group(QStringLiteral("控除対象配偶者"), 0, 1);
    group(QStringLiteral("控除対象扶養親族"), 1, 4);
    group(QStringLiteral("16歳未満の扶養親族"), 5, 4);

    auto* notes = new QGroupBox(QStringLiteral("備考"), this);
    auto* ng = new QGridLayout(notes);
    ng->addWidget(new QLabel(QStringLiteral("控除対象扶養親族"), notes), 0, 0);
    ng->addWidget(new QLabel(QStringLiteral("16歳未満の扶養親族"), notes), 0, 1);
    for (int i = 0; i < kFamilyNotes; ++i) {
        edBikou[i] = new QLineEdit(this);
        edBikou[i]->setObjectName(QStringLiteral("edBikou%1_%2").arg(i / 5 + 1).arg(i % 5 + 1));
        edBikou[i]->setFixedWidth(charW * 16 + 12);
        EditHelper::attachText(edBikou[i], 16, options);
        platform::ui::setImeMode(edBikou[i], platform::ui::ImeMode::Off);
        ng->addWidget(edBikou[i], i % 5 + 1, i / 5);
    }
    ng->setColumnStretch(2, 1);
    top->addWidget(notes);

    auto* bottom = new QHBoxLayout;
    cbHide = new QCheckBox(QStringLiteral("個人番号を隠す"), this);
    cbHide->setObjectName(QStringLiteral("cbHide"));
    cbHide->setChecked(true);
    EditHelper::attachEnter(cbHide);
    connect(cbHide, &QCheckBox::toggled, this, [this] { cbHideClick(); });
    bbCancel = new QPushButton(QStringLiteral("戻　る"), this);
    bbCancel->setObjectName(QStringLiteral("bbCancel"));
    bbCancel->setAutoDefault(false);
    connect(bbCancel, &QPushButton::clicked, this, [this] { reject(); });
    bottom->addWidget(cbHide);
    bottom->addStretch();
    bottom->addWidget(bbCancel);
    top->addLayout(bottom);

    // Tab order: each row's name, furigana, number, mark; the notes; the box; the button.
    QWidget* prev = nullptr;
    auto chain = [&](QWidget* w) {
        if (prev) setTabOrder(prev, w);
        prev = w;
        w->installEventFilter(this);
    };
    for (int i = 0; i < kFamilyEntries; ++i) {
        chain(edName[i]);
        chain(edFuri[i]);
        chain(edNumb[i]);
        chain(cbHiKi[i]);
    }
    for (auto* e : edBikou) chain(e);
    chain(cbHide);
    chain(bbCancel);
    cbHideClick();
}

void FamilyDialog::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void FamilyDialog::FormShow() {
    filling_ = true;
    const FamilyForm form = LoadFamily(data_.Record(FamilySlot));
    for (int i = 0; i < kFamilyEntries; ++i) {
        edName[i]->setText(q(form.entries[i].name));
        edFuri[i]->setText(q(form.entries[i].furigana));
        edNumb[i]->setText(q(form.entries[i].number));
        cbHiKi[i]->setChecked(form.entries[i].nonResident);
    }
    for (int i = 0; i < kFamilyNotes; ++i) edBikou[i]->setText(q(form.notes[i]));
    filling_ = false;
    cbHideClick();
    edName[0]->setFocus();
}

void FamilyDialog::cbHideClick() {
    for (auto* e : edNumb)
        e->setEchoMode(cbHide->isChecked() ? QLineEdit::Password : QLineEdit::Normal);
}

bool FamilyDialog::FormClose() {
    FamilyForm form;
    for (int i = 0; i < kFamilyEntries; ++i)
        form.entries[i] = {edName[i]->text().toStdString(), edFuri[i]->text().toStdString(),
                           edNumb[i]->text().toStdString(), cbHiKi[i]->isChecked()};
    for (int i = 0; i < kFamilyNotes; ++i) form.notes[i] = edBikou[i]->text().toStdString();
    if (auto bad = StoreFamily(data_.Record(FamilySlot), form)) {
        platform::ui::MessageBox::error(
            this, QString::fromUtf8(kFamilyNumberMessage.data(), int(kFamilyNumberMessage.size())));
        edNumb[*bad]->setFocus();
        edNumb[*bad]->selectAll();
        return false;
    }
    return true;
}

void FamilyDialog::reject() {
    if (FormClose()) QDialog::reject();
}

void FamilyDialog::closeEvent(QCloseEvent* event) {
    // QDialog's close box goes through reject(), which stores or refuses.
    if (isVisible() && !FormClose()) {
        event->ignore();
        return;
    }
    QDialog::reject();
    event->accept();
}

void FamilyDialog::nameEdited(int entry) {
    if (filling_) return;
    const std::string reading = reading_[entry]->lastReading().toStdString();
    auto furigana = capture_.nameChanged(entry, edFuri[entry]->text().toStdString(),
                                         edName[entry]->text().toStdString(), reading);
    if (furigana) {
        edFuri[entry]->setText(q(*furigana));
        reading_[entry]->clear();
    }
}

bool FamilyDialog::eventFilter(QObject* watched, QEvent* event) {
    // Enter, Ctrl+Delete: the edit helper of each field.
    return QDialog::eventFilter(watched, event);
}

}  // namespace withholding::ui
