#pragma once
// The sheets of the workbook that the program reads and writes by name.
#include <QString>

inline const QString kRosterSheet = QStringLiteral("人員配置表");
inline const QString kSettingsSheet = QStringLiteral("基本設定");
inline const QString kScheduleSheet = QStringLiteral("スケジュール");
inline const QString kStaffSheet = QStringLiteral("要員設定");
inline const QString kReservationSheet = QStringLiteral("予約表");
