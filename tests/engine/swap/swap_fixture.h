#pragma once
// Sample condition sets loaded into the model, and random tables that keep every rule the swap
// check covers.
#include "validator/validator.h"

#include <QString>
#include <gtest/gtest.h>

namespace swapfx {

inline const char* const kGeneral = "examples/シフト表作成/条件.csv";
inline const char* const kCare = "examples/作成例1/条件.csv";
inline const char* const kLarge = "examples/作成例2/条件.csv";

class SampleTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Loads the sample into a fresh workbook and reads every condition; false on a message.
    bool load(const char* relativeFile);
};

// Fills the empty cells from Start_Day on with random shifts the assignment check allows (rest
// where the rest-run limit and the patterns allow it), counting every placed shift.
void fillRandomTable();

// The rules the swap check covers for the flag text.
std::vector<validator::Rule> coveredRules(const QString& flag);

}  // namespace swapfx
