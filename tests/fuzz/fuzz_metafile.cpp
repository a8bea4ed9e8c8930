// libFuzzer target: the metafile player (WMF and EMF) on arbitrary bytes.

#include "platform/imaging/metafile/metafile.h"

#include <QtGui/QGuiApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Text is drawn with the fonts of a GUI application, as in the modules that read metafiles.
    static const QGuiApplication* application = [] {
        static int argc = 1;
        static char name[] = "fuzz_metafile";
        static char* argv[] = {name, nullptr};
        return QCoreApplication::instance() ? nullptr : new QGuiApplication(argc, argv);
    }();
    (void)application;

    ZorMetafileOptions options;
    options.background = 0x818181;
    // A small pixel limit keeps each run short; the limit is checked the same way at any size.
    options.maxPixels = 1u << 20;
    ZorRgbPicture picture;
    const UINT error = zorPlayMetafile({data, size}, options, picture);
    // A played picture is whole; a refused one is empty.
    if ((error == eIS_OK) != !picture.pixels.empty()
        || (error == eIS_OK
            && picture.pixels.size() != std::size_t(picture.width) * picture.height * 3))
        __builtin_trap();
    return 0;
}
