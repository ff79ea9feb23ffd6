#include "ProposalFileName.h"

#include "Utils/Text.h"

namespace ProposalFileName {

namespace {

constexpr qsizetype maxClusters = 40;
constexpr qsizetype maxFileNameBytes = 255;

bool keptCluster(const QString &cluster, bool keepUnderscore)
{
    if (cluster == QLatin1String("-") || cluster == QLatin1String(" "))
        return true;
    if (keepUnderscore && cluster == QLatin1String("_"))
        return true;
    const char32_t first = cluster.at(0).isHighSurrogate() && cluster.size() > 1
        ? QChar::surrogateToUcs4(cluster.at(0), cluster.at(1))
        : char32_t(cluster.at(0).unicode());
    return QChar::isLetterOrNumber(first);
}

QString fileName(const QString &projectName, bool keepUnderscore)
{
    QString kept;
    for (const QString &cluster : Text::graphemes(projectName)) {
        if (keptCluster(cluster, keepUnderscore))
            kept += cluster;
    }
    kept = Text::trimmedSpacesAndTabs(kept);
    kept.replace(QLatin1Char(' '), QLatin1Char('-'));

    QStringList clusters = Text::graphemes(kept);
    if (clusters.size() > maxClusters)
        clusters.resize(maxClusters);

    // Combining marks can make a short name long in bytes: drop whole characters from the end.
    const qsizetype frameBytes = QByteArrayLiteral("KP-.pdf").size();
    qsizetype bytes = frameBytes + clusters.join(QString()).toUtf8().size();
    while (!clusters.isEmpty() && bytes > maxFileNameBytes) {
        bytes -= clusters.takeLast().toUtf8().size();
    }
    const QString name = clusters.isEmpty() ? QStringLiteral("estimate") : clusters.join(QString());
    return QStringLiteral("KP-") + name + QStringLiteral(".pdf");
}

} // namespace

QString temporaryName(const QString &projectName)
{
    return fileName(projectName, false);
}

QString suggestedName(const QString &projectName)
{
    return fileName(projectName, true);
}

} // namespace ProposalFileName
