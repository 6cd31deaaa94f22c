// Main of the GUI test programs: the GL format must be set before the
// QApplication exists. Listing the tests needs no display.
#include "view3d/gl_format.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    kavlen::setDefaultGLFormat();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
