#pragma once
// A fixture whose globals are put back before and after every test by the reset of the test's
// layer (the template argument).
#include <gtest/gtest.h>

template <void (*reset)()>
class ResetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        reset();
    }
    void TearDown() override
    {
        reset();
    }
};
