#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <memory>

#include "ui/Screenshot.h"
#include "withholding/EmployeeKeys.h"
#include "withholding/WithholdingFile.h"
#include "withholding/ui/LoadNoticeDialog.h"
#include "withholding/ui/NewLayoutRecordEditor.h"
#include "withholding/ui/OldLayoutRecordEditor.h"
#include "withholding_ui/EditorFixture.h"

// The year-end windows that can outgrow a screen, on the screens users have:
// screens.json lays three side by side (1600x1000, 1366x768, 1280x720).
namespace withholding::ui {
namespace {

void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

QScreen* screenOf(int width, int height) {
    for (QScreen* s : QGuiApplication::screens())
        if (s->geometry().size() == QSize(width, height)) return s;
    ADD_FAILURE() << "no screen of " << width << "x" << height << " (screens.json not read?)";
    return QGuiApplication::primaryScreen();
}

// The program's main window, where the windows under test open.
struct MainOn : QWidget {
    explicit MainOn(QScreen* screen) {
        setScreen(screen);
        setGeometry(QRect(screen->geometry().topLeft() + QPoint(40, 60), QSize(656, 480)));
        show();
        settle();
    }
};

// Whether part lies wholly inside window's client area, as the window shows it.
bool inside(const QWidget* part, const QWidget& window) {
    const QRect r(part->mapTo(&window, QPoint()), part->size());
    return part->isVisible() && window.rect().contains(r);
}

TEST(ScreenFit, LoadNoticeOfEightyEmployeesFitsTheScreen) {
    AttachedNames names;
    for (int slot = 2; slot <= 80; ++slot)
        names.moved.push_back(MovedLine("社員" + std::to_string(slot), {slot, slot - 1}));
    names.leftOut.push_back("社員1");
    const struct { int width, height; } screens[] = {{1600, 1000}, {1366, 768}, {1280, 720}};
    for (const auto& sc : screens) {
        QScreen* screen = screenOf(sc.width, sc.height);
        MainOn main(screen);
        LoadNoticeDialog notice(&main);
        notice.setNotice(AttachmentNotice(names), LeftOutSection(names));
        notice.show();
        settle();
        const std::string at = std::to_string(sc.width) + "x" + std::to_string(sc.height);
        EXPECT_TRUE(screen->availableGeometry().contains(notice.frameGeometry()))
            << at << ": " << notice.frameGeometry().height();
        EXPECT_TRUE(inside(notice.btOk, notice)) << at;
        EXPECT_TRUE(inside(notice.lbKept, notice)) << at;
        EXPECT_TRUE(notice.lbKept->text().endsWith(
            QStringLiteral("（データを保存するとファイルから削除されます）：\n　社員1")))
            << at;
        // The moved employees scroll, from the first to the last.
        EXPECT_TRUE(notice.messageArea->verticalScrollBar()->isVisible()) << at;
        EXPECT_TRUE(notice.lbMessage->text().endsWith(QStringLiteral("社員80（No.80 → No.79）")));
        testing_support::screenshot(&notice, QStringLiteral("load_notice_") + at.c_str());
    }
}

// Every button of the row in view, and every field scrolled into view as focus
// reaches it.
template <class Editor>
void expectFits(QScreen* screen, const std::string& at) {
    testing_support::EditorFixture r;
    MainOn main(screen);
    Editor editor(r.ledger, r.data, &main);
    editor.EditSlot = 1;
    editor.show();
    settle();
    EXPECT_TRUE(screen->availableGeometry().contains(editor.frameGeometry()))
        << at << ": " << editor.frameGeometry().width() << "x" << editor.frameGeometry().height();
    for (QWidget* b :
         std::initializer_list<QWidget*>{editor.sbBackData, editor.sbNextData, editor.sbCalculator,
                                         editor.sbManual, editor.btAutoCalc, editor.btCancel})
        EXPECT_TRUE(inside(b, editor)) << at << " " << b->objectName().toStdString();
    // Beside its vertical scroll bar the form needs no sideways scrolling, even
    // where a window manager's borders take 8 px a side (these screens' take 2).
    const int spare = editor.formArea_->viewport()->width() -
                      editor.formArea_->widget()->minimumSizeHint().width();
    EXPECT_GE(spare, 2 * (8 - 2)) << at;
    const QWidget* viewport = editor.formArea_->viewport();
    int fields = 0;
    for (QWidget* w : editor.formArea_->widget()->template findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || w->focusPolicy() == Qt::NoFocus || !w->isEnabled())
            continue;
        w->setFocus(Qt::TabFocusReason);
        settle();
        const QRect shown(w->mapTo(viewport, QPoint()), w->size());
        EXPECT_TRUE(viewport->rect().contains(shown)) << at << " " << w->objectName().toStdString();
        ++fields;
    }
    EXPECT_GT(fields, 40) << at;
    testing_support::screenshot(&editor, QString::fromStdString("record_editor_" + at));
}

TEST(ScreenFit, RecordEditorsFitSmallScreens) {
    const struct { int width, height; } screens[] = {{1366, 768}, {1280, 720}};
    for (const auto& sc : screens) {
        const std::string size = std::to_string(sc.width) + "x" + std::to_string(sc.height);
        expectFits<NewLayoutRecordEditor>(screenOf(sc.width, sc.height), "new_" + size);
        expectFits<OldLayoutRecordEditor>(screenOf(sc.width, sc.height), "old_" + size);
    }
}

}  // namespace
}  // namespace withholding::ui
