#pragma once
// Putting a saved period back onto the roster sheet 人員配置表.
struct SavedPeriod;

// Reads the base information and the period's saved rows, switches the start conditions to the
// period's year and month (as the start-condition dialog applies them), then writes the whole
// roster block of the new month: each member's saved shift by its day in the period, empty where
// nothing is saved, and recolours the grid. Members no longer on the roster are left out. A
// failure of a reading, of the switch or of the grid's writing leaves the month, the period and
// the grid as they were: false after its message (a workbook error is thrown on).
bool シフト復元_本シート(const SavedPeriod& row);
