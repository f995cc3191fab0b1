#pragma once
// What the generation benchmark and the generation trace share: the condition sets they run by
// default, a set's name in their reports, and a headless work folder for whole runs.
#include <QString>
#include <QTemporaryDir>
#include <vector>

// The three sample work folders' conditions and the benchmarks' own set ("bench").
std::vector<QString> defaultRunSets();
// "bench", a sample's folder name, or a condition file's name.
QString runSetLabel(const QString& set);
// Whole runs in work without windows: the database made, the steps installed, every dialog
// answered as a user who wants no log would. False when the database cannot be made.
bool prepareHeadlessRuns(const QTemporaryDir& work);
