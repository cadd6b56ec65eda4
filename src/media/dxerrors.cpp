// The DirectX message table and the messages of each exception class.
#include "media/dxerrors.h"

#include "platform/api/dderrors.h"
#include "platform/api/debug.h"

namespace {

// One entry of the message table: the text before the object name, the text after it, and
// whether the name appears at all. Pieces join without added spaces.
struct ResultText {
    HRESULT code;
    const char* before;
    const char* after;
    bool named;
};

constexpr ResultText kResultTexts[] = {
    {DDERR_SURFACELOST, "DDERR_SURFACELOST", "", false},
    {DDERR_NOTINITIALIZED, "DDERR_NOTINITIALIZED", "", false},
    {DDERR_OUTOFMEMORY, "DDERR_OUTOFMEMORY", "", false},
    {DDERR_NOMIRRORHW, "DDERR_NOMIRRORHW", "", false},
    {DDERR_NOTFOUND, "DDERR_NOTFOUND", "", false},
    {DDERR_NOOVERLAYHW, "DDERR_NOOVERLAYHW", "", false},
    {DDERR_NORASTEROPHW, "DDERR_NORASTEROPHW", "", false},
    {DDERR_NOROTATIONHW, "DDERR_NOROTATIONHW", "", false},
    {DDERR_NOSTRETCHHW, "DDERR_NOSTRETCHHW", "", false},
    {DDERR_NOT4BITCOLOR, "DDERR_NOT4BITCOLOR", "", false},
    {DDERR_NOT4BITCOLORINDEX, "DDERR_NOT4BITCOLORINDEX", "", false},
    {DDERR_NOT8BITCOLOR, "DDERR_NOT8BITCOLOR", "", false},
    {DDERR_NOTEXTUREHW, "DDERR_NOTEXTUREHW", "", false},
    {DDERR_NOVSYNCHW, "DDERR_NOVSYNCHW", "", false},
    {DDERR_NOZBUFFERHW, "DDERR_NOZBUFFERHW", "", false},
    {DDERR_NOZOVERLAYHW, "DDERR_NOZOVERLAYHW", "", false},
    {DDERR_OUTOFCAPS, "DDERR_OUTOFCAPS", "", false},
    {DDERR_OUTOFVIDEOMEMORY, "DDERR_OUTOFVIDEOMEMORY", "", false},
    {DDERR_OVERLAYCANTCLIP, "DDERR_OVERLAYCANTCLIP", "", false},
    {DDERR_OVERLAYCOLORKEYONLYONEACTIVE, "DDERR_OVERLAYCOLORKEYONLYONEACTIVE", "", false},
    {DDERR_PALETTEBUSY, "DDERR_PALETTEBUSY", "", false},
    {DDERR_SURFACEALREADYATTACHED, "DDERR_SURFACEALREADYATTACHED", "", false},
    {DDERR_SURFACEALREADYDEPENDENT, "DDERR_SURFACEALREADYDEPENDENT", "", false},
    {DDERR_SURFACEBUSY, "DDERR_SURFACEBUSY", "", false},
    {DDERR_SURFACEISOBSCURED, "DDERR_SURFACEISOBSCURED", "", false},
    {DDERR_SURFACENOTATTACHED, "DDERR_SURFACENOTATTACHED", "", false},
    {DDERR_TOOBIGHEIGHT, "DDERR_TOOBIGHEIGHT", "", false},
    {DDERR_TOOBIGSIZE, "DDERR_TOOBIGSIZE", "", false},
    {DDERR_TOOBIGWIDTH, "DDERR_TOOBIGWIDTH", "", false},
    {DDERR_UNSUPPORTEDFORMAT, "DDERR_UNSUPPORTEDFORMAT", "", false},
    {DDERR_UNSUPPORTEDMASK, "DDERR_UNSUPPORTEDMASK", "", false},
    {DDERR_VERTICALBLANKINPROGRESS, "DDERR_VERTICALBLANKINPROGRESS", "", false},
    {DDERR_XALIGN, "DDERR_XALIGN", "", false},
    {DDERR_PRIMARYSURFACEALREADYEXISTS, "DDERR_PRIMARYSURFACEALREADYEXISTS", "", false},
    {DDERR_REGIONTOOSMALL, "DDERR_REGIONTOOSMALL", "", false},
    {DDERR_NOPALETTEATTACHED, "DDERR_NOPALETTEATTACHED", "", false},
    {DDERR_NOPALETTEHW, "DDERR_NOPALETTEHW", "", false},
    {DDERR_OVERLAYNOTVISIBLE, "DDERR_OVERLAYNOTVISIBLE", "", false},
    {DDERR_NOOVERLAYDEST, "DDERR_NOOVERLAYDEST", "", false},
    {DDERR_NOTAOVERLAYSURFACE, "DDERR_NOTAOVERLAYSURFACE", "", false},
    {DDERR_NOTFLIPPABLE, "DDERR_NOTFLIPPABLE", "", false},
    {DDERR_NOTLOCKED, "DDERR_NOTLOCKED", "", false},
    {DDERR_WRONGMODE, "DDERR_WRONGMODE", "", false},
    {DDERR_NOTPALETTIZED, "DDERR_NOTPALETTIZED", "", false},
    {DDERR_UNSUPPORTEDMODE, "DDERR_UNSUPPORTEDMODE", "", false},
    {DDERR_NOMIPMAPHW, "DDERR_NOMIPMAPHW", "", false},
    {DDERR_NONONLOCALVIDMEM, "DDERR_NONONLOCALVIDMEM", "", false},
    {DDERR_NOTPAGELOCKED, "DDERR_NOTPAGELOCKED", "", false},
    {DDERR_VIDEONOTACTIVE, "DDERR_VIDEONOTACTIVE", "", false},
    {DDERR_UNSUPPORTED, "An unsupported operation was attempted while processing ", "", true},
    {DDERR_GENERIC, "An undefined DirectX exception has occurred while processing ", "", true},
    {DDERR_INVALIDPARAMS, "An operation was attempted for ", " using invalid parameters", true},
    {DDERR_ALREADYINITIALIZED, "", " has already been initialized", true},
    {DDERR_CANNOTATTACHSURFACE, "Cannot attach surface to requested surface", "", false},
    {DDERR_CANNOTDETACHSURFACE, "Cannot detach surface from requested surface", "", false},
    {DDERR_CURRENTLYNOTAVAIL, "No support is currently available for ", "", true},
    {DDERR_EXCEPTION, "A DirectX exception has occurred while processing ", "", true},
    {DDERR_HEIGHTALIGN, "Invalid rectangle height alignment for ", "", true},
    {DDERR_INCOMPATIBLEPRIMARY, "",
     " primary surface creation incompatible with existing primary surface", true},
    {DDERR_INVALIDCAPS, "Invalid capability bits for ", "", true},
    {DDERR_INVALIDCLIPLIST, "The clip list provided for ", " is invalid", true},
    {DDERR_INVALIDMODE, "The requested mode is invalid", "", false},
    {DDERR_INVALIDOBJECT, "An operation was attempted for ", " using an invalid DirectX object",
     true},
    {DDERR_INVALIDPIXELFORMAT, "An invalid pixel format was specified for ", "", true},
    {DDERR_INVALIDRECT, "The rectangle specified for ", " is invalid", true},
    {DDERR_LOCKEDSURFACES, "The operation requested for ",
     " failed because one or more surfaces are locked", true},
    {DDERR_NO3D, "There is no 3D hardware or emulator for drawing ", "", true},
    {DDERR_NOALPHAHW, "No alpha acceleration hardware for drawing ", "", true},
    {DDERR_NOCLIPLIST, "No clip list is available for ", "", true},
    {DDERR_NOCOLORCONVHW,
     "The requested operation failed because no color conversion hardware is present", "", false},
    {DDERR_NOCOOPERATIVELEVELSET, "No cooperative level set", "", false},
    {DDERR_NOCOLORKEY, "does not currently have a color key", "", true},
    {DDERR_NOCOLORKEYHW, "There is no hardware support for the destination color key", "", false},
    {DDERR_NODIRECTDRAWSUPPORT, "The current display driver does not support DirectDraw", "",
     false},
    {DDERR_NOEXCLUSIVEMODE, "The requested operation on ", " requires exclusive mode", true},
    {DDERR_NOFLIPHW, "No hardware support for flipping visible surfaces", "", false},
    {DDERR_NOGDI, "GDI is not present", "", false},
    {DDERR_COLORKEYNOTSET, "Source color key not specified for ", "", true},
    {DDERR_CANTLOCKSURFACE, "Unable to lock primary surface", "", false},
    {DDERR_WASSTILLDRAWING, "An operation has been attempted on ",
     " before the previous operation has completed", true},
    {DDERR_INVALIDDIRECTDRAWGUID,
     "Cannot create DirectDraw object due to an invalid driver identifier", "", false},
    {DDERR_DIRECTDRAWALREADYCREATED, "DirectDraw object already created", "", false},
    {DDERR_NODIRECTDRAWHW, "Hardware only creation of ", " is not supported", true},
    {DDERR_NOEMULATION, "DirectDraw software emulation is not available", "", false},
    {DDERR_CLIPPERISUSINGHWND, "Clipper object already in use", "", false},
    {DDERR_NOCLIPPERATTACHED, "The DirectX surface ", " does not have a clipper attached to it",
     true},
    {DDERR_NOHWND, "A window handle is required for ", "", true},
    {DDERR_HWNDSUBCLASSED, "Cannot restore subclassed window", "", false},
    {DDERR_HWNDALREADYSET, "Invalid attempt to reset window handle", "", false},
    {DDERR_BLTFASTCANTCLIP, "Cannot BltFast ", " due to DirectDrawClipper object", true},
    {DDERR_NOBLTHW, "No blt hardware for drawing ", "", true},
    {DDERR_NODDROPSHW, "No DirectDraw raster operation hardware for drawing ", "", true},
    {DDERR_INVALIDPOSITION, "Overlay position is invalid", "", false},
    {DDERR_EXCLUSIVEMODEALREADYSET, "Invalid attempt to reset cooperative level", "", false},
    {DDERR_CANTDUPLICATE, "", " cannot be duplicated", true},
    {DDERR_CANTCREATEDC, "Windows cannot create device context for ", "", true},
    {DDERR_NODC, "No device context exists for ", "", true},
    {DDERR_IMPLICITLYCREATED, "Cannot restore implicit surface", "", false},
    {DDERR_INVALIDSURFACETYPE, "The requested operation cannot be completed for ",
     " because it is of the wrong surface type", true},
    {DDERR_DCALREADYCREATED, "Device context already returned for surface ", "", true},
    {DDERR_CANTPAGELOCK, "Unable to page lock ", "", true},
    {DDERR_CANTPAGEUNLOCK, "Unable to page unlock ", "", true},
    {DDERR_MOREDATA, "There is more data available than the specified buffer could hold", "",
     false},
};

}  // namespace

std::string DirectXResultText(HRESULT code, const std::string& objectName) {
    for (const ResultText& entry : kResultTexts) {
        if (entry.code == code) {
            return entry.named ? entry.before + objectName + entry.after : entry.before;
        }
    }
    return "An unknown DirectX exception has occurred while processing " + objectName;
}

std::string XDXException::Message() const {
    return "DirectX error: " + DirectXResultText(Code, ObjectName);
}

const char* XDXException::what() const noexcept {
    try {
        text_ = Message();
    } catch (...) {
        return "DirectX error";
    }
    return text_.c_str();
}

XFileNotExist::XFileNotExist(std::string fileName) : XDXException(std::move(fileName)) {
    OutputDebugStringA("Throwing XFileNotExist");
}

XFileNotExist::XFileNotExist(const XFileNotExist& other) : XDXException(other) {
    OutputDebugStringA("Copying XFileNotExist");
}

std::string XFileNotExist::Message() const {
    return "Failure loading " + ObjectName + ": File does not exists";
}

std::string XOutOfMemory::Message() const {
    return "Operation aborted for " + ObjectName + ": Out of memory";
}

std::string XInvalidFormat::Message() const {
    return "The graphics format of " + ObjectName + " is invalid";
}

XSurfaceLost::XSurfaceLost() : XDXException(DDERR_SURFACELOST, "") {}

std::string XSurfaceLost::Message() const {
    return "Surface lost while processing " + ObjectName;
}
