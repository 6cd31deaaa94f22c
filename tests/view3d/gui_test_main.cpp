// Main of the GUI test programs: the GL format must be set before the
// QApplication exists. Listing the tests needs no display.
#include "view3d/gl_format.h"

#include <QApplication>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <link.h>

namespace {

// Keeps every loaded library (the GL driver, Qt's plugins) in memory to the end,
// so that LeakSanitizer can name the library that kept an allocation and the
// suppressions in tests/lsan.supp can match it.
void pinLoadedLibraries() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void*) {
            if (info->dlpi_name && info->dlpi_name[0] != '\0')
                dlopen(info->dlpi_name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    kavlen::setDefaultGLFormat();
    QApplication app(argc, argv);
    const int result = RUN_ALL_TESTS();
    pinLoadedLibraries();
    return result;
}
