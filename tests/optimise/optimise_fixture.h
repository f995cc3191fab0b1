#pragma once
// Small hand-built models for the optimiser tests (shift types 日 1, 夜 2, 明 3 of 8 hours, every
// member's target = the day count, no limits), and the samples loaded with a table.
#include <QString>
#include <gtest/gtest.h>

namespace optfx {

class ModelTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // A fresh model: every table zero, factors 1.0, all weights 0.
    void makeModel(int members, int days, int types = 2);
    // Member m's days from 1, one abbreviation per character ("休" = rest), each placed shift
    // counted.
    void row(int m, const QString& cells);
    // Loads a sample's conditions (false on a message) and places random shifts on the empty
    // cells from Start_Day, counted, without asking the rules.
    bool loadSample(const char* relativeFile, unsigned seed);
};

}  // namespace optfx
