#pragma once
// Small hand-built models for the optimiser tests (shift types 日 1, 夜 2, 明 3 of 8 hours, every
// member's target = the day count, no limits), the samples loaded with their workbook, and table
// snapshots.
#include "common.h"
#include "small_model.h"
#include "validator/validator.h"

#include <QString>
#include <gtest/gtest.h>
#include <vector>

namespace optfx {

class ModelTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // A fresh model: every table zero, factors 1.0, all weights 0.
    void makeModel(int members, int days, int types = 2);
    // Member m's days from 1, one abbreviation per character ("休" = rest), each placed shift
    // counted.
    void row(int m, const QString& cells) { smallmodel::row(m, cells); }
    // Loads a sample's conditions (false on a message) and places random shifts on the empty
    // cells from Start_Day, counted, without asking the rules.
    bool loadSample(const char* relativeFile, unsigned seed);
    bool load(const char* relativeFile) { return loadSampleModel(relativeFile); }
};

using smallmodel::changedCells;
using smallmodel::snapshot;
// No cell before Start_Day differs from the snapshot.
bool earlyDaysEqual(const std::vector<int>& before);
// The violations of these rules that the snapshot's table did not have.
std::vector<validator::Violation> newViolations(const std::vector<validator::Violation>& before,
                                                const std::vector<validator::Rule>& rules);
// The rules a single assignment can break, all but staffing and required combinations.
std::vector<validator::Rule> assignmentRules();
// The rules an exchange with the work-day check may not break.
std::vector<validator::Rule> exchangeRules();
// The shift sheet's cell of member m on day d.
QString sheetCell(int m, int d);

}  // namespace optfx
