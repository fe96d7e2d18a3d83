#include "app/Settings.h"

#include "app/OptionTable.h"

#include <QDir>

Settings::Settings()
    : Settings(defaultRoot())
{
}

Settings::Settings(const QString &root)
    : dataRoot(root)
    , batchRoot(root)
{
}

Settings &settings()
{
    static Settings s;
    return s;
}

QString defaultRoot()
{
    return QDir::homePath();
}

void settleSettings(OptionTable &table, Settings &s)
{
    s.configFile = QStringLiteral("config.cfg");
    if (table.contains(QStringLiteral("-c")))
        s.configFile = table.value(QStringLiteral("-c"));
    if (table.contains(QStringLiteral("-config")))
        s.configFile = table.value(QStringLiteral("-config"));

    readConfigFile(table, s.configFile);

    s.dataRoot = table.value(QStringLiteral("DataRoot"), s.dataRoot);
    if (table.contains(QStringLiteral("-d")))
        s.dataRoot = table.value(QStringLiteral("-d"));

    s.batchRoot = table.value(QStringLiteral("BatchRoot"), s.batchRoot);
    if (table.contains(QStringLiteral("-br")))
        s.batchRoot = table.value(QStringLiteral("-br"));

    const QString flagDefault = s.showAnalyzer2Button ? QStringLiteral("1") : QStringLiteral("0");
    s.showAnalyzer2Button =
        table.value(QStringLiteral("ShowAnalyzer2Button"), flagDefault).toInt() == 1;
    if (table.contains(QStringLiteral("-showA2B")))
        s.showAnalyzer2Button = table.value(QStringLiteral("-showA2B")).toInt() == 1;

    if (table.contains(QStringLiteral("-b")))
        s.batchFile = table.value(QStringLiteral("-b"));
    // Reading a flag through value() marks it used like every other option.
    s.runBatch = table.contains(QStringLiteral("-x"));
    if (s.runBatch)
        table.value(QStringLiteral("-x"));
    s.translate = !table.contains(QStringLiteral("-e"));
    if (!s.translate)
        table.value(QStringLiteral("-e"));
}
