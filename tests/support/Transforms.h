#pragma once

#include "host/UBTypes.h"

#include <gtest/gtest.h>

/// The same transform to the bit: what a restored transform must be.
::testing::AssertionResult SameTransform(const TransformRecord& expected,
                                         const TransformRecord& actual);
/// Positions and rotations equal within float noise (a rotation and its negation are equal):
/// what a computed placement must be.
::testing::AssertionResult SamePlace(const TransformRecord& expected,
                                     const TransformRecord& actual);
