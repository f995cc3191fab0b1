#pragma once
// The benchmarks' own condition set at the model's limits: 50 members, the 31 days of January
// 2027 and 10 shift types, with needs, spans, counts, forbidden successions and patterns, work and
// rest run limits, a weekly limit, combination bans and a group must, and last month's final days;
// built by code as a condition file.
#include <QByteArray>

// The set opened into a fresh template (as a sample work folder would be): xlBook and the period
// globals point at it afterwards. Opened again only when another book became current.
void openBenchConditions();
// The condition file's text (UTF-8 with a BOM, CR LF).
QByteArray benchConditionText();
