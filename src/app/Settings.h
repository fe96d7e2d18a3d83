#pragma once

#include <QString>

class OptionTable;

// What start-up settles from the option table before the main window exists.
// Set once, read everywhere afterwards.
struct Settings
{
    Settings();                             // both roots at the default
    explicit Settings(const QString &root); // both roots at `root`

    QString dataRoot;  // start folder of every data file dialog
    QString batchRoot; // start folder of the batch window's file dialogs
    bool showAnalyzer2Button = false;
    QString configFile;    // the configuration file that was read
    QString batchFile;     // handed to the batch window after start-up
    bool runBatch = false; // "-x": start the batch window at once
    bool translate = true; // cleared by "-e"
};

// The process-wide settings.
Settings &settings();

// The default for both roots: the user's home folder.
QString defaultRoot();

// Start-up steps from choosing the configuration file to the batch file:
// picks the configuration file ("-c", then "-config"), reads it into the
// table and settles the roots, the second analyzer's button, the batch file,
// "-x" and "-e". `s` comes in holding the defaults.
void settleSettings(OptionTable &table, Settings &s);
