#include "platform/ui/Ime.h"

#include <QEvent>
#include <QInputMethodEvent>
#include <QWidget>
#include <algorithm>
#include <array>

namespace platform::ui {

namespace {

// Half-width forms of U+30A1 (ァ) .. U+30F6 (ヶ); hiragana U+3041 .. U+3096 use the
// same rows.
constexpr std::array<const char16_t*, 86> kKatakana{
    u"ｧ",  u"ｱ",  u"ｨ",  u"ｲ",  u"ｩ",  u"ｳ",  u"ｪ",  u"ｴ",  u"ｫ",  u"ｵ",  u"ｶ",  u"ｶﾞ", u"ｷ",
    u"ｷﾞ", u"ｸ",  u"ｸﾞ", u"ｹ",  u"ｹﾞ", u"ｺ",  u"ｺﾞ", u"ｻ",  u"ｻﾞ", u"ｼ",  u"ｼﾞ", u"ｽ",  u"ｽﾞ",
    u"ｾ",  u"ｾﾞ", u"ｿ",  u"ｿﾞ", u"ﾀ",  u"ﾀﾞ", u"ﾁ",  u"ﾁﾞ", u"ｯ",  u"ﾂ",  u"ﾂﾞ", u"ﾃ",  u"ﾃﾞ",
    u"ﾄ",  u"ﾄﾞ", u"ﾅ",  u"ﾆ",  u"ﾇ",  u"ﾈ",  u"ﾉ",  u"ﾊ",  u"ﾊﾞ", u"ﾊﾟ", u"ﾋ",  u"ﾋﾞ", u"ﾋﾟ",
    u"ﾌ",  u"ﾌﾞ", u"ﾌﾟ", u"ﾍ",  u"ﾍﾞ", u"ﾍﾟ", u"ﾎ",  u"ﾎﾞ", u"ﾎﾟ", u"ﾏ",  u"ﾐ",  u"ﾑ",  u"ﾒ",
    u"ﾓ",  u"ｬ",  u"ﾔ",  u"ｭ",  u"ﾕ",  u"ｮ",  u"ﾖ",  u"ﾗ",  u"ﾘ",  u"ﾙ",  u"ﾚ",  u"ﾛ",  u"ﾜ",
    u"ﾜ",  u"ｲ",  u"ｴ",  u"ｦ",  u"ﾝ",  u"ｳﾞ", u"ｶ",  u"ｹ"};

QString halfWidthOf(QChar c) {
    const char16_t u = c.unicode();
    if (u >= 0x30A1 && u <= 0x30F6) return QString::fromUtf16(kKatakana[u - 0x30A1]);
    if (u >= 0x3041 && u <= 0x3096) return QString::fromUtf16(kKatakana[u - 0x3041]);
    if (u >= 0xFF01 && u <= 0xFF5E) return QChar(char16_t(u - 0xFEE0));
    switch (u) {
        case 0x3000:
            return QStringLiteral(" ");
        case 0x30FC:
            return QStringLiteral("ｰ");
        case 0x30FB:
            return QStringLiteral("･");
        case 0x3002:
            return QStringLiteral("｡");
        case 0x3001:
            return QStringLiteral("､");
        case 0x300C:
            return QStringLiteral("｢");
        case 0x300D:
            return QStringLiteral("｣");
        case 0x309B:
            return QStringLiteral("ﾞ");
        case 0x309C:
            return QStringLiteral("ﾟ");
        default:
            return c;
    }
}

bool isKana(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x3041 && u <= 0x3096) || (u >= 0x30A1 && u <= 0x30FC) ||
           (u >= 0xFF66 && u <= 0xFF9F);
}

// Makes the text committed into a kana field half-width before the field (and
// its other filters) see it.
class HalfKanaCommit : public QObject {
public:
    explicit HalfKanaCommit(QWidget* field) : QObject(field) { setObjectName("HalfKanaCommit"); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::InputMethod) {
            auto* e = static_cast<QInputMethodEvent*>(event);
            if (!e->commitString().isEmpty())
                e->setCommitString(toHalfWidthKana(e->commitString()), e->replacementStart(),
                                   e->replacementLength());
        }
        return false;
    }
};

}  // namespace

QString toHalfWidthKana(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) out += halfWidthOf(c);
    return out;
}

void setImeMode(QWidget* field, ImeMode mode) {
    field->setAttribute(Qt::WA_InputMethodEnabled, mode != ImeMode::Off);
    auto* existing = field->findChild<HalfKanaCommit*>(QStringLiteral("HalfKanaCommit"),
                                                       Qt::FindDirectChildrenOnly);
    if (mode == ImeMode::HalfKatakana && !existing) {
        field->installEventFilter(new HalfKanaCommit(field));
    } else if (mode != ImeMode::HalfKatakana && existing) {
        delete existing;
    }
}

bool imeOpen(const QWidget* field) {
    return field->testAttribute(Qt::WA_InputMethodEnabled);
}

ImeReading::ImeReading(QWidget* field) : QObject(field) {
    field->installEventFilter(this);
}

bool ImeReading::eventFilter(QObject*, QEvent* event) {
    if (event->type() != QEvent::InputMethod) return false;
    auto* e = static_cast<QInputMethodEvent*>(event);
    const QString pre = e->preeditString();
    if (!pre.isEmpty() && std::all_of(pre.begin(), pre.end(), isKana)) composing_ = pre;
    if (!e->commitString().isEmpty()) {
        reading_ = composing_;
        composing_.clear();
    } else if (pre.isEmpty()) {
        composing_.clear();  // the composition was abandoned
    }
    return false;
}

}  // namespace platform::ui
