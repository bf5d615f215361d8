#pragma once

#include "CSceneSnapshot.h"

#include <gtest/gtest.h>

namespace KV::Test {

/// Whether the scene is exactly as it was; a failure says where it differs.
inline ::testing::AssertionResult SameScene(const CSceneSnapshot& expected,
                                            const CSceneSnapshot& actual)
{
    if (actual == expected)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << DescribeDifference(expected, actual).toStdString();
}

} // namespace KV::Test
