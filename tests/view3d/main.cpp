// Test program of the 3D view: a compatibility-profile GL format is set before
// the application object exists, as the editor does.
#include <QApplication>
#include <QSurfaceFormat>

#include <gtest/gtest.h>

#include <cstring>
#include <dlfcn.h>
#include <memory>

namespace {

constexpr const char* kMesaDriver = "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so";

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Mesa unloads its driver at exit, before the leak check runs, which leaves
    // the driver's own end-of-process allocations without a library name to
    // suppress them by (lsan.supp). Keeping it loaded avoids that; nothing
    // happens where the file does not exist.
    dlopen(kMesaDriver, RTLD_NOW | RTLD_NODELETE);

    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setDepthBufferSize(24);
    format.setSamples(0);
    QSurfaceFormat::setDefaultFormat(format);

    // Listing the tests needs no display.
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing = listing || std::strcmp(argv[i], "--gtest_list_tests") == 0;
    std::unique_ptr<QApplication> app;
    if (!listing)
        app = std::make_unique<QApplication>(argc, argv);
    return RUN_ALL_TESTS();
}
