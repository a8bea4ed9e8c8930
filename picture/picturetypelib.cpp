#include "picture/picturetypelib.h"

#include "picture/pictureids.h"

namespace {

const ZorTypeInfo& jpegType()
{
    static const ZorTypeInfo info = [] {
        ZorTypeInfo type;
        type.name = "JPEG";
        type.clsid = CLSID_JPEG;
        type.doc = "JPEG Control";
        type.control = true;
        type.dispatch.name = "_DJPEG";
        type.dispatch.iid = DIID__DJPEG;
        type.dispatch.doc = "Dispatch interface for JPEG Control";
        // The five switches are one-byte values. setImageData and setImage take the bytes
        // themselves as binary texts: an address of the caller's memory is no argument a
        // dispatch call can carry safely (see jpegctrl.h).
        type.dispatch.members = {zorProperty(eJPEG_BOXBORDER, "BoxBorder", VT_UI1),
            zorProperty(eJPEG_BORDERCOLOR, "BorderColor", VT_UI4),
            zorProperty(eJPEG_FILE, "File", VT_BSTR), zorProperty(eJPEG_STRETCH, "Stretch", VT_UI1),
            zorProperty(eJPEG_KEEPASPECTRATIO, "KeepAspectRatio", VT_UI1),
            zorProperty(eJPEG_BACKCOLOR, "BackColor", VT_UI4),
            zorProperty(eJPEG_BORDER, "Border", VT_UI1),
            zorProperty(eJPEG_RESIZEWINDOW, "ResizeWindow", VT_UI1),
            zorMethod(eJPEG_SELECTFILE, "selectFile", {{"a_sFile", VT_BSTR}}, VT_BOOL),
            zorMethod(
                eJPEG_SETIMAGEDATA, "setImageData", {{"a_nLen", VT_I4}, {"a_pData", VT_BSTR}}),
            zorMethod(eJPEG_SETIMAGE, "setImage", {{"a_pImage", VT_BSTR}})};
        type.events.name = "_DJPEGEvents";
        type.events.iid = DIID__DJPEGEvents;
        type.events.doc = "Event interface for JPEG Control";
        return type;
    }();
    return info;
}

} // namespace

const ZorTypeInfo* zorJPEGTypeInfo()
{
    return &jpegType();
}

const char* zorJPEGPropertyName(DISPID dispid)
{
    return zorDeclaredPropertyName(jpegType(), dispid);
}

const ZorTypeLibrary* zorJPEGTypeLibrary()
{
    static const ZorTypeLibrary library = [] {
        ZorTypeLibrary lib;
        lib.libid = LIBID_JPEGLib;
        lib.major = c_wJPEGTypeLibMajor;
        lib.minor = c_wJPEGTypeLibMinor;
        lib.name = "JPEGLib";
        lib.helpString = "JPEG ActiveX Control module";
        lib.classes = {&jpegType()};
        return lib;
    }();
    return &library;
}
