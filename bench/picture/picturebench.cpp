// picturebench: a 4000 x 3000 JPEG (quality 90, written by Qt into a temporary folder) loaded
// and fitted into an 800 x 600 picture control, against Qt's own reader and smooth scaling of
// the same file, in one run:
//
// - control: selectFile through dispatch on the control created by class id from zorpicture29
//   (no border, so the fit is exactly 800 x 600): decode, resample, size request.
// - image: the same load and fit on a CRGBImage alone (what the control does, without
//   dispatch and window).
// - decode and resample: the image's two steps apart.
// - Qt: QImageReader::read, then QImage::scaled to 800 x 600 with smooth transformation.
//
// Each is run several times; the program prints the best and the median of each, the ratio of
// the control's best to Qt's (target: within 1.2) and the bytes the fitted picture holds
// against 800 x 600 x 3. Run by hand: build/bench/zorbench_picture [runs].

#include "picture/picturegeometry.h"
#include "picture/rgbimage.h"
#include "platform/module/module.h"
#include "platform/ole/dispatchimpl.h"
#include "platform/ole/factory.h"
#include "platform/ole/oleinit.h"
#include "platform/ole/site.h"
#include "platform/ui/dialog.h"

#include <QtCore/QTemporaryDir>
#include <QtGui/QImageReader>
#include <QtGui/QImageWriter>
#include <QtGui/QLinearGradient>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <type_traits>
#include <vector>

namespace {

constexpr int c_pictureWidth = 4000;
constexpr int c_pictureHeight = 3000;
constexpr int c_controlWidth = 800;
constexpr int c_controlHeight = 600;
constexpr UINT c_hostTemplate = 9452;
// selectFile and a control's File, by the picture control's dispatch ids.
constexpr DISPID c_dispidSelectFile = 8;

// A photo-like picture: gradients, circles and stripes, so that the JPEG is not trivially
// small.
QImage makePicture()
{
    QImage picture(c_pictureWidth, c_pictureHeight, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient sky(0, 0, 0, c_pictureHeight);
    sky.setColorAt(0, QColor(40, 90, 200));
    sky.setColorAt(1, QColor(250, 200, 120));
    painter.fillRect(picture.rect(), sky);
    for (int i = 0; i < 60; ++i) {
        painter.setBrush(QColor::fromHsv((i * 37) % 360, 160, 220));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPoint((i * 611) % c_pictureWidth, (i * 367) % c_pictureHeight),
            80 + (i * 13) % 300, 60 + (i * 29) % 200);
    }
    for (int x = 0; x < c_pictureWidth; x += 40)
        painter.fillRect(x, c_pictureHeight - 400, 8, 400, QColor(30, 90 + x % 120, 40));
    return picture;
}

// The times of the runs in milliseconds, sorted; work that returns a time (of a part of
// itself) is taken at its word.
template<typename F> std::vector<double> timesOf(int runs, F work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if constexpr (std::is_same_v<decltype(work()), double>) {
            times.push_back(work());
        } else {
            work();
            const std::chrono::duration<double, std::milli> took
                = std::chrono::steady_clock::now() - start;
            times.push_back(took.count());
        }
    }
    std::sort(times.begin(), times.end());
    return times;
}

void report(const char* what, const std::vector<double>& times)
{
    std::printf("%-8s best %8.1f ms  median %8.1f ms  worst %8.1f ms\n", what, times.front(),
        times[times.size() / 2], times.back());
}

} // namespace

ZOR_DIALOG_TABLE({
    {c_hostTemplate, "Host", 600, 450, "MS Sans Serif", 8, WS_POPUP | WS_CAPTION, {}},
});

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QTemporaryDir folder;
    // The module registers in a store of the run's own unless one is given.
    if (std::getenv("ZORVEX_REGISTRY") == nullptr)
        setenv("ZORVEX_REGISTRY", folder.filePath("registry").toLocal8Bit().constData(), 1);
    QApplication application(argc, argv);

    const QString path = folder.filePath("photo.jpg");
    QImageWriter writer(path, "jpeg");
    writer.setQuality(90);
    if (!writer.write(makePicture())) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    const std::string file = path.toStdString();
    std::printf("%d x %d JPEG, quality 90, %lld bytes, into %d x %d; %d runs each\n",
        c_pictureWidth, c_pictureHeight, static_cast<long long>(QFileInfo(path).size()),
        c_controlWidth, c_controlHeight, runs);

    AfxOleInit();
    HMODULE module = LoadLibraryA(ZOR_PICTURE_MODULE);
    auto registerServer = module
        ? reinterpret_cast<ZorDllRegisterServer>(GetProcAddress(module, "DllRegisterServer"))
        : nullptr;
    if (!registerServer || registerServer() != S_OK) {
        std::fprintf(
            stderr, "cannot register %s: %s\n", ZOR_PICTURE_MODULE, zorModuleLoadError().c_str());
        return 1;
    }
    CDialog host(c_hostTemplate);
    COleControlSite site;
    if (!host.Create(c_hostTemplate)
        || site.create("zorJPEGControl.29", "BoxBorder=0\nResizeWindow=0\n", &host,
               CRect(0, 0, c_controlWidth, c_controlHeight), 700)
            != S_OK) {
        std::fprintf(stderr, "cannot create the picture control\n");
        return 1;
    }
    bool loaded = true;
    const auto control = timesOf(runs, [&] {
        COleVariant result;
        loaded = zorInvoke(site.dispatch(), c_dispidSelectFile, DISPATCH_METHOD,
                     {COleVariant(file)}, &result)
                == S_OK
            && result.boolVal != 0;
    });
    if (!loaded) {
        std::fprintf(stderr, "the control did not load the picture\n");
        return 1;
    }

    CRGBImage image;
    const auto alone = timesOf(runs, [&] {
        image.clear();
        if (image.loadFile(file) != eIS_OK)
            return;
        const CSize size = zorPictureFitSize(
            image.width(), image.height(), c_controlWidth, c_controlHeight, true);
        image.resample(static_cast<UINT>(size.cx), static_cast<UINT>(size.cy));
    });

    // The two steps of the image's load and fit apart.
    const auto decode = timesOf(runs, [&] {
        image.clear();
        image.loadFile(file);
    });
    const auto resample = timesOf(runs, [&] {
        image.clear();
        image.loadFile(file);
        const auto started = std::chrono::steady_clock::now();
        image.resample(c_controlWidth, c_controlHeight);
        const std::chrono::duration<double, std::milli> took
            = std::chrono::steady_clock::now() - started;
        return took.count();
    });

    QImage scaled;
    const auto qt = timesOf(runs, [&] {
        QImageReader reader(path);
        scaled = reader.read().scaled(
            c_controlWidth, c_controlHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    });

    report("control", control);
    report("image", alone);
    report(" decode", decode);
    report(" resample", resample);
    report("Qt", qt);
    const double ratio = control.front() / qt.front();
    std::printf("control / Qt (best): %.2f (target 1.2 or less: %s)\n", ratio,
        ratio <= 1.2 ? "met" : "missed");
    const std::size_t fitted = std::size_t {c_controlWidth} * c_controlHeight * 3;
    std::printf("fitted picture: %u x %u, %zu bytes held (800 x 600 x 3 = %zu); Qt's: %lld\n",
        image.width(), image.height(), image.byteCount(), fitted,
        static_cast<long long>(scaled.sizeInBytes()));
    site.destroy();
    host.DestroyWindow();
    return 0;
}
