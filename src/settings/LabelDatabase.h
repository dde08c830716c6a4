#pragma once

#include "LabelTemplateFile.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace zorvane {

// The label sheet products found in a list of folders, with every
// equivalent product resolved to the geometry of the product it names (of
// the same brand) and every paper name resolved to its size.
class LabelDatabase
{
public:
    // The folder under each data directory where the installed database lies.
    static constexpr char16_t installedSubfolder[] = u"libglabels-3.0/templates";

    // Where the products are looked for, first found first: the user's own
    // folder, then the installed database under $XDG_DATA_HOME and each
    // directory of $XDG_DATA_DIRS.
    static QStringList standardFolders();
    // The folder for the user's own files in the same format.
    static QString userFolder();

    // Whether any of the folders holds a "*.xml" file, without reading one.
    static bool anyFileIn(const QStringList& folders);

    // Reads every "*.xml" file of the folders. A product named again in a
    // later folder or file is left out: the first one found counts.
    static LabelDatabase load(const QStringList& folders);

    const QList<LabelTemplate>& products() const { return products_; }
    // One line per file that could not be used or left products out.
    const QStringList& problems() const { return problems_; }
    int filesRead() const { return filesRead_; }

    // The product called "BRAND PART", compared without regard to case.
    const LabelTemplate* find(const QString& name) const;

private:
    void resolveEquivalents();
    void resolvePaperSizes(const QHash<QString, LabelPaperSize>& paperSizes);

    QList<LabelTemplate> products_;
    QStringList problems_;
    int filesRead_ = 0;
};

} // namespace zorvane
