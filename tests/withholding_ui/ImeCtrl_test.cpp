#include <gtest/gtest.h>

#include <QLineEdit>

#include "platform/ui/Ime.h"
#include "withholding/ui/ImeCtrl.h"

namespace {
using withholding::ui::ImeRequest;
using withholding::ui::ImeRequestForMode;

TEST(SetImeMode, ModeTable) {
    const ImeRequest expected[] = {ImeRequest::Disable, ImeRequest::Close,        ImeRequest::Open,
                                   ImeRequest::Nothing, ImeRequest::Open,         ImeRequest::Open,
                                   ImeRequest::Open,    ImeRequest::OpenHalfKana, ImeRequest::Open,
                                   ImeRequest::Open};
    for (int mode = 0; mode <= 9; ++mode)
        EXPECT_EQ(ImeRequestForMode(mode), expected[mode]) << mode;
    EXPECT_EQ(ImeRequestForMode(-1), ImeRequest::Nothing);
}

TEST(SetImeMode, OpensAndClosesTheFieldAndModeThreeChangesNothing) {
    QLineEdit edit;
    withholding::ui::SetImeMode(&edit, 1);
    EXPECT_FALSE(platform::ui::imeOpen(&edit));
    withholding::ui::SetImeMode(&edit, 3);
    EXPECT_FALSE(platform::ui::imeOpen(&edit));
    withholding::ui::SetImeMode(&edit, 6);
    EXPECT_TRUE(platform::ui::imeOpen(&edit));
    withholding::ui::SetImeMode(&edit, 3);
    EXPECT_TRUE(platform::ui::imeOpen(&edit));
    withholding::ui::SetImeMode(nullptr, 6);  // ignored
}

}  // namespace
