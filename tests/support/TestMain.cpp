#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CHostApplication.h"

int main(int argc, char** argv)
{
    // Tests never need a screen; a caller may still ask for one explicitly.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    KV::CHostApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
