// Writes a sample work folder's workbook: a fresh template loaded with the sample's condition
// file, saved as shift.xlsm. The build runs it for every sample work folder.
//
//   qv_make_workbook <condition file> <shift.xlsm>
#include "platform/xl/xl.h"
#include "workbook/condition_file.h"
#include "workbook/template.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {

void say(const QString& text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication qapp(argc, argv);
    const QStringList args = qapp.arguments();
    if (args.size() != 3) {
        say(QStringLiteral("usage: qv_make_workbook <condition file> <shift.xlsm>"));
        return 2;
    }
    const QString conditions = args.at(1);
    const QString target = QFileInfo(args.at(2)).absoluteFilePath();
    try {
        xl::Application app;
        xl::Workbook& book = workbook::createTemplate(app);
        const condition_file::Status st = condition_file::loadConditions(book, conditions);
        if (!st.ok) {
            say(st.error);
            return 1;
        }
        // A sample that names a range the template lacks is out of step with it: fail the build.
        for (const QString& w : st.warnings)
            say(conditions + QStringLiteral(": ") + w);
        if (!st.warnings.isEmpty())
            return 1;
        book.worksheets(QStringLiteral("人員配置表")).activate();
        QDir().mkpath(QFileInfo(target).path());
        book.saveAs(target);
    } catch (const xl::Error& e) {
        say(e.text());
        return 1;
    }
    return 0;
}
