#pragma once
// Sample condition sets loaded into the model, and random tables that keep every rule the swap
// check covers.
#include "common.h"
#include "engine/state.h"
#include "validator/validator.h"

#include <QString>
#include <gtest/gtest.h>

namespace swapfx {

class SampleTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override { resetEngineState(); }
    bool load(const char* relativeFile) { return loadSampleModel(relativeFile); }
};

// Fills the empty cells from Start_Day on with random shifts the assignment check allows (rest
// where the rest-run limit and the patterns allow it), counting every placed shift.
void fillRandomTable();

// The rules the swap check covers for the flag text.
std::vector<validator::Rule> coveredRules(const QString& flag);

}  // namespace swapfx
