#include "ModalAnswer.h"

#include <gtest/gtest.h>

namespace KV::test {

CModalAnswer::~CModalAnswer()
{
    if (LeftOpen())
        ADD_FAILURE() << "the modal dialog was still open after the test's answer";
}

} // namespace KV::test
