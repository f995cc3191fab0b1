#pragma once
// Publishing the month as a static HTML site for the staff, below the folder HTML_PATH of sheet
// Main: a folder per selected page kind with the sheet's pictures and a page that switches
// between them, and the shared frame, menu and information pages.
#include "storage/html_pages.h"

#include <QString>
#include <QStringList>

struct WebsiteResult {
    enum Outcome { Built, Cancelled, Failed };
    Outcome outcome = Failed;
    // Pictures that could not be made; the site was built without them and the closing message
    // names them.
    QStringList failedImages;
};

// The page-kind flags of a stored HTML_ITEM: ten characters, position n ("1" = on) for kind n;
// missing positions are off.
QString HtmlItemFlags(const QString& stored);

// Writes folder/index.html for one page kind and returns its text.
QString CreatePageIndex(const QString& folder, const QString& title, const std::vector<HtmlOption>& options,
                        const QString& prefix);

// Builds the site from the open workbook and the condition model (which the caller has just
// refreshed), opens it in the browser and reports the time taken and the size. A cancel from
// the progress window and an error end the build with their own message; what was written stays.
// Kinds not selected lose their pictures (and their page with them); other files are left alone.
WebsiteResult CreateWebsite();
