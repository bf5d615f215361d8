#include "Transforms.h"

#include <QQuaternion>

#include <cmath>
#include <cstring>
#include <string>

namespace {

std::string Position(const TransformRecord& record)
{
    return '(' + std::to_string(record.position[0]) + ", " + std::to_string(record.position[1]) +
           ", " + std::to_string(record.position[2]) + ')';
}

} // namespace

::testing::AssertionResult SameTransform(const TransformRecord& expected,
                                         const TransformRecord& actual)
{
    if (std::memcmp(&expected, &actual, sizeof expected) == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the transforms differ: expected position "
                                         << Position(expected) << ", got " << Position(actual);
}

::testing::AssertionResult SamePlace(const TransformRecord& expected, const TransformRecord& actual)
{
    constexpr float kTolerance = 1e-3f;
    for (int i = 0; i < 3; ++i) {
        if (std::fabs(expected.position[i] - actual.position[i]) > kTolerance)
            return ::testing::AssertionFailure()
                   << "position differs: expected " << Position(expected) << ", got "
                   << Position(actual);
    }
    const QQuaternion a(expected.rotation[3], expected.rotation[0], expected.rotation[1],
                        expected.rotation[2]);
    const QQuaternion b(actual.rotation[3], actual.rotation[0], actual.rotation[1],
                        actual.rotation[2]);
    if (std::fabs(QQuaternion::dotProduct(a.normalized(), b.normalized())) < 1.0f - kTolerance)
        return ::testing::AssertionFailure()
               << "rotation differs: expected " << a.toEulerAngles().z() << "° about z, got "
               << b.toEulerAngles().z() << "°";
    return ::testing::AssertionSuccess();
}
