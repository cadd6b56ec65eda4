// The DirectX errors: the message of each class and the sentences of the message table.
#include <gtest/gtest.h>

#include "media/dxerrors.h"
#include "platform/api/dderrors.h"

namespace {

TEST(DirectXErrorsTest, EachClassComposesItsMessageWhichSurvivesCopiesAndTheBase) {
    EXPECT_EQ(XOutOfMemory("BmpGulls masks").Message(),
              "Operation aborted for BmpGulls masks: Out of memory");
    EXPECT_EQ(XInvalidFormat("Level Pack").Message(),
              "The graphics format of Level Pack is invalid");
    EXPECT_EQ(XSurfaceLost().Message(), "Surface lost while processing ");
    EXPECT_EQ(XSurfaceLost().Code, DDERR_SURFACELOST);
    EXPECT_EQ(XDXException(DDERR_SURFACELOST, "BmpMisc").Message(),
              "DirectX error: DDERR_SURFACELOST");
    EXPECT_EQ(XDXException(DDERR_OVERLAPPINGRECTS, "").Message(),
              "DirectX error: An unknown DirectX exception has occurred while processing ");
    try {
        throw XFileNotExist("level1.jpg");
    } catch (const XDXException& error) {
        EXPECT_STREQ(error.what(), "Failure loading level1.jpg: File does not exists");
        EXPECT_EQ(error.Code, 0);
    }
    const XOutOfMemory original("BmpDigits");
    EXPECT_EQ(XOutOfMemory(original).Message(), original.Message());
}

TEST(DirectXErrorsTest, TheTablePlacesTheObjectNameAsEachSentenceNeeds) {
    const std::pair<HRESULT, const char*> sentences[] = {
        {DDERR_NOCOLORKEY, "does not currently have a color keyBmpGulls"},
        {DDERR_ALREADYINITIALIZED, "BmpGulls has already been initialized"},
        {DDERR_INVALIDPARAMS, "An operation was attempted for BmpGulls using invalid parameters"},
        {DDERR_GENERIC, "An undefined DirectX exception has occurred while processing BmpGulls"},
        {DDERR_UNSUPPORTED, "An unsupported operation was attempted while processing BmpGulls"},
        {DDERR_INVALIDMODE, "The requested mode is invalid"},
        {DDERR_WASSTILLDRAWING,
         "An operation has been attempted on BmpGulls before the previous operation has "
         "completed"},
        {DDERR_MOREDATA, "There is more data available than the specified buffer could hold"},
        {DDERR_NOTINITIALIZED, "DDERR_NOTINITIALIZED"},
        {DDERR_OUTOFMEMORY, "DDERR_OUTOFMEMORY"},
        {DDERR_VIDEONOTACTIVE, "DDERR_VIDEONOTACTIVE"},
        // Results outside the table get the default sentence.
        {DDERR_OVERLAPPINGRECTS,
         "An unknown DirectX exception has occurred while processing BmpGulls"},
        {12345, "An unknown DirectX exception has occurred while processing BmpGulls"},
    };
    for (const auto& [code, sentence] : sentences) {
        EXPECT_EQ(DirectXResultText(code, "BmpGulls"), sentence) << std::hex << code;
    }
}

}  // namespace
