// The DirectX errors: the message of each class and the sentences of the message table.
#include <gtest/gtest.h>

#include "media/dxerrors.h"
#include "platform/api/dderrors.h"

namespace {

TEST(DirectXErrorsTest, EachClassComposesItsMessage) {
    EXPECT_EQ(XFileNotExist("ZNTitle.jpg").Message(),
              "Failure loading ZNTitle.jpg: File does not exists");
    EXPECT_EQ(XOutOfMemory("BmpGulls masks").Message(),
              "Operation aborted for BmpGulls masks: Out of memory");
    EXPECT_EQ(XInvalidFormat("Level Pack").Message(),
              "The graphics format of Level Pack is invalid");
    EXPECT_EQ(XSurfaceLost().Message(), "Surface lost while processing ");
    EXPECT_EQ(XSurfaceLost().Code, DDERR_SURFACELOST);
    EXPECT_EQ(XDXException(DDERR_SURFACELOST, "BmpMisc").Message(),
              "DirectX error: DDERR_SURFACELOST");
}

TEST(DirectXErrorsTest, MessagesSurviveCopiesAndCatchingByTheBase) {
    try {
        throw XFileNotExist("level1.jpg");
    } catch (const XDXException& error) {
        const XDXException& copy = error;
        EXPECT_STREQ(copy.what(), "Failure loading level1.jpg: File does not exists");
        EXPECT_EQ(copy.Code, 0);
    }
    const XOutOfMemory original("BmpDigits");
    const XOutOfMemory copy(original);
    EXPECT_EQ(copy.Message(), original.Message());
}

TEST(DirectXErrorsTest, TheTablePlacesTheObjectNameAsEachSentenceNeeds) {
    const std::string name = "BmpGulls";
    EXPECT_EQ(DirectXResultText(DDERR_NOCOLORKEY, name),
              "does not currently have a color keyBmpGulls");
    EXPECT_EQ(DirectXResultText(DDERR_ALREADYINITIALIZED, name),
              "BmpGulls has already been initialized");
    EXPECT_EQ(DirectXResultText(DDERR_INVALIDPARAMS, name),
              "An operation was attempted for BmpGulls using invalid parameters");
    EXPECT_EQ(DirectXResultText(DDERR_GENERIC, name),
              "An undefined DirectX exception has occurred while processing BmpGulls");
    EXPECT_EQ(DirectXResultText(DDERR_UNSUPPORTED, name),
              "An unsupported operation was attempted while processing BmpGulls");
    EXPECT_EQ(DirectXResultText(DDERR_INVALIDMODE, name), "The requested mode is invalid");
    EXPECT_EQ(DirectXResultText(DDERR_WASSTILLDRAWING, "BltQueue"),
              "An operation has been attempted on BltQueue before the previous operation has "
              "completed");
    EXPECT_EQ(DirectXResultText(DDERR_MOREDATA, name),
              "There is more data available than the specified buffer could hold");
    EXPECT_EQ(DirectXResultText(DDERR_NOTINITIALIZED, name), "DDERR_NOTINITIALIZED");
    EXPECT_EQ(DirectXResultText(DDERR_OUTOFMEMORY, name), "DDERR_OUTOFMEMORY");
    EXPECT_EQ(DirectXResultText(DDERR_VIDEONOTACTIVE, name), "DDERR_VIDEONOTACTIVE");
}

TEST(DirectXErrorsTest, ResultsOutsideTheTableGetTheDefaultSentence) {
    for (HRESULT code : {DDERR_OVERLAPPINGRECTS, DDERR_NOSTEREOHARDWARE, E_NOINTERFACE, 12345}) {
        EXPECT_EQ(DirectXResultText(code, "BmpMisc"),
                  "An unknown DirectX exception has occurred while processing BmpMisc");
    }
    EXPECT_EQ(XDXException(DDERR_OVERLAPPINGRECTS, "").Message(),
              "DirectX error: An unknown DirectX exception has occurred while processing ");
}

TEST(DirectXErrorsTest, EveryTabledResultHasItsOwnSentence) {
    // The 103 results of the table: none may fall through to the default.
    const HRESULT tabled[] = {
        DDERR_ALREADYINITIALIZED,
        DDERR_CANNOTATTACHSURFACE,
        DDERR_CANNOTDETACHSURFACE,
        DDERR_CURRENTLYNOTAVAIL,
        DDERR_EXCEPTION,
        DDERR_GENERIC,
        DDERR_HEIGHTALIGN,
        DDERR_INCOMPATIBLEPRIMARY,
        DDERR_INVALIDCAPS,
        DDERR_INVALIDCLIPLIST,
        DDERR_INVALIDMODE,
        DDERR_INVALIDOBJECT,
        DDERR_INVALIDPARAMS,
        DDERR_INVALIDPIXELFORMAT,
        DDERR_INVALIDRECT,
        DDERR_LOCKEDSURFACES,
        DDERR_NO3D,
        DDERR_NOALPHAHW,
        DDERR_NOCLIPLIST,
        DDERR_NOCOLORCONVHW,
        DDERR_NOCOOPERATIVELEVELSET,
        DDERR_NOCOLORKEY,
        DDERR_NOCOLORKEYHW,
        DDERR_NODIRECTDRAWSUPPORT,
        DDERR_NOEXCLUSIVEMODE,
        DDERR_NOFLIPHW,
        DDERR_NOGDI,
        DDERR_NOMIRRORHW,
        DDERR_NOTFOUND,
        DDERR_NOOVERLAYHW,
        DDERR_NORASTEROPHW,
        DDERR_NOROTATIONHW,
        DDERR_NOSTRETCHHW,
        DDERR_NOT4BITCOLOR,
        DDERR_NOT4BITCOLORINDEX,
        DDERR_NOT8BITCOLOR,
        DDERR_NOTEXTUREHW,
        DDERR_NOVSYNCHW,
        DDERR_NOZBUFFERHW,
        DDERR_NOZOVERLAYHW,
        DDERR_OUTOFCAPS,
        DDERR_OUTOFMEMORY,
        DDERR_OUTOFVIDEOMEMORY,
        DDERR_OVERLAYCANTCLIP,
        DDERR_OVERLAYCOLORKEYONLYONEACTIVE,
        DDERR_PALETTEBUSY,
        DDERR_COLORKEYNOTSET,
        DDERR_SURFACEALREADYATTACHED,
        DDERR_SURFACEALREADYDEPENDENT,
        DDERR_SURFACEBUSY,
        DDERR_CANTLOCKSURFACE,
        DDERR_SURFACEISOBSCURED,
        DDERR_SURFACELOST,
        DDERR_SURFACENOTATTACHED,
        DDERR_TOOBIGHEIGHT,
        DDERR_TOOBIGSIZE,
        DDERR_TOOBIGWIDTH,
        DDERR_UNSUPPORTED,
        DDERR_UNSUPPORTEDFORMAT,
        DDERR_UNSUPPORTEDMASK,
        DDERR_VERTICALBLANKINPROGRESS,
        DDERR_WASSTILLDRAWING,
        DDERR_XALIGN,
        DDERR_INVALIDDIRECTDRAWGUID,
        DDERR_DIRECTDRAWALREADYCREATED,
        DDERR_NODIRECTDRAWHW,
        DDERR_PRIMARYSURFACEALREADYEXISTS,
        DDERR_NOEMULATION,
        DDERR_REGIONTOOSMALL,
        DDERR_CLIPPERISUSINGHWND,
        DDERR_NOCLIPPERATTACHED,
        DDERR_NOHWND,
        DDERR_HWNDSUBCLASSED,
        DDERR_HWNDALREADYSET,
        DDERR_NOPALETTEATTACHED,
        DDERR_NOPALETTEHW,
        DDERR_BLTFASTCANTCLIP,
        DDERR_NOBLTHW,
        DDERR_NODDROPSHW,
        DDERR_OVERLAYNOTVISIBLE,
        DDERR_NOOVERLAYDEST,
        DDERR_INVALIDPOSITION,
        DDERR_NOTAOVERLAYSURFACE,
        DDERR_EXCLUSIVEMODEALREADYSET,
        DDERR_NOTFLIPPABLE,
        DDERR_CANTDUPLICATE,
        DDERR_NOTLOCKED,
        DDERR_CANTCREATEDC,
        DDERR_NODC,
        DDERR_WRONGMODE,
        DDERR_IMPLICITLYCREATED,
        DDERR_NOTPALETTIZED,
        DDERR_UNSUPPORTEDMODE,
        DDERR_NOMIPMAPHW,
        DDERR_INVALIDSURFACETYPE,
        DDERR_DCALREADYCREATED,
        DDERR_NONONLOCALVIDMEM,
        DDERR_CANTPAGELOCK,
        DDERR_CANTPAGEUNLOCK,
        DDERR_NOTPAGELOCKED,
        DDERR_MOREDATA,
        DDERR_VIDEONOTACTIVE,
        DDERR_NOTINITIALIZED,
    };
    ASSERT_EQ(std::size(tabled), 103u);
    const std::string fallback = DirectXResultText(DDERR_OVERLAPPINGRECTS, "X");
    for (HRESULT code : tabled) {
        EXPECT_NE(DirectXResultText(code, "X"), fallback) << std::hex << code;
    }
}

}  // namespace
