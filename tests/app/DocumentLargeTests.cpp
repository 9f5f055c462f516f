#include "DocumentTestSupport.h"

namespace {

// A text of the largest size that is accepted. It takes a gigabyte of memory, so it
// runs apart from the other tests (ctest label "large").
TEST_F(DocumentFixture, OpenLargestText_OneByteBelowAGigabyte_Loaded) {
    constexpr int64_t Largest = CTextBuffer::SizeLimit - 1;
    const QString path = WriteSparse(QStringLiteral("largest.txt"), Largest);

    OpenFromMenu(path);

    EXPECT_TRUE(Fakes.Dialogs.Messages.empty());
    EXPECT_EQ(Frame->windowTitle(), QStringLiteral("Skimmet: [largest.txt]"));
    EXPECT_EQ(Frame->Settings().TextLength, Largest);
    ASSERT_EQ(Frame->Document().Text().Size(), Largest);
    EXPECT_EQ(View().TextStart()[Largest], '\0');
    EXPECT_EQ(View().PlayFlags(), CFlashView::TextLoadedBit | CFlashView::StoppedBit);
}

} // namespace
