#include "platform/ui/QtTranslation.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPushButton>

#include "support/TempDir.h"

namespace {

QString cancelText() {
    QDialogButtonBox box(QDialogButtonBox::Cancel);
    return box.button(QDialogButtonBox::Cancel)->text();
}

QString lookIn() {
    return QCoreApplication::translate("QFileDialog", "Look in:");
}

TEST(QtTranslation, StandardDialogsSpeakJapaneseWhileItLives) {
    {
        const platform::ui::QtTranslation japanese;
        ASSERT_TRUE(japanese.installed());
        EXPECT_EQ(cancelText(), QStringLiteral("キャンセル"));
        EXPECT_NE(lookIn(), QStringLiteral("Look in:"));
        EXPECT_NE(QCoreApplication::translate("QFileDialog", "File &name:"),
                  QStringLiteral("File &name:"));
    }
    EXPECT_EQ(lookIn(), QStringLiteral("Look in:"));
}

TEST(QtTranslation, AMissingCatalogueLeavesQtsTextsAlone) {
    testing_support::TempDir empty;
    const platform::ui::QtTranslation none(QString::fromStdString(empty.path().string()));
    EXPECT_FALSE(none.installed());
    EXPECT_EQ(cancelText(), QStringLiteral("Cancel"));
    EXPECT_EQ(lookIn(), QStringLiteral("Look in:"));
}

}  // namespace
