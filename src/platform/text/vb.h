#pragma once
// The few Visual Basic run-time conversions the roster code is written against, with VB's rules
// (Val reads a leading number, Int floors, DateSerial rolls months and days over).
#include <QDate>
#include <QDateTime>
#include <QString>
#include <cstdint>

// Leading number of s as VB's Val reads it: blanks anywhere are skipped, reading stops at the
// first character that cannot continue the number; &H and &O prefixes; 0 when there is none.
double Val(const QString& s);
// The largest whole number not above x (VB Int: Int(-1.5) = -2).
double Int(double x);

// The numeric variable types a value is read into.
enum class NumberType { Integer, Long, Single };
// The type's name and the text of its range, for messages ("Integer", "-32768 から 32767 まで").
QString typeName(NumberType type);
QString typeRange(NumberType type);
// Whether an assignment of v to a variable of the type succeeds: Integer and Long take the nearest
// whole number, halves to the even neighbour; a value beyond the type's range does not fit.
bool fitsIn(NumberType type, double v);
// The assignment itself: the value the variable holds, or error 6 (overflow) when it does not fit.
int toInteger(double v);
qint32 toLong(double v);
float toSingle(double v);
// The date year/month/day with VB's roll-over: month 13 is January of the next year, day 0 the
// last day of the month before.
QDate DateSerial(int year, int month, int day);

// Format with the patterns the program uses:
// dates  "yyyy/mm/dd", "yyyy/mm/dd hh:nn:ss", "hh:nn:ss", "nn:ss", "m/d", "m月d日", "aaa" (日..土), "aaaa"
// numbers "0", "0.0", "0.00", "0.000", "0.0###", "0%", "#", "#,##0"; texts "@@@@@" (right-aligned in as
// many characters).
QString Format(const QDateTime& t, const QString& pattern);
QString Format(const QDate& d, const QString& pattern);
QString Format(double v, const QString& pattern);
QString Format(const QString& s, const QString& pattern);

// The one random generator of the program. Randomize() mixes the clock into its state (it never
// resets it to a clock value, so calling it in a loop still gives fresh numbers); Randomize(seed)
// makes the sequence repeatable for tests.
void Randomize();
void Randomize(std::uint64_t seed);
// A number in [0, 1).
double Rnd();
// The generator back to the sequence a fresh process starts with.
void resetRnd();
