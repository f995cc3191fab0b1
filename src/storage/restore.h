#pragma once
// Putting a saved period back onto the roster sheet 人員配置表.
struct 保存期間;

// Reads the period's saved rows, switches the start conditions to the period's year and month
// (as the start-condition dialog applies them), then writes the whole roster block of the new
// month: each member's saved shift by its day in the period, empty where nothing is saved, and
// recolours the grid. Members no longer on the roster are left out. A database failure or refused
// start conditions stop it before the sheet changes: false after their message.
bool シフト復元_本シート(const 保存期間& row);
