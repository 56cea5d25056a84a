// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Points XDG_DATA_HOME (the user's data folder) at `folder` while it lives,
// then back at the folder the test harness chose.
class DataHome {
public:
    explicit DataHome(const QString& folder) : previous_(qgetenv("XDG_DATA_HOME"))
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(folder));
    }
    ~DataHome() { qputenv("XDG_DATA_HOME", previous_); }
    DataHome(const DataHome&) = delete;
    DataHome& operator=(const DataHome&) = delete;

private:
    QByteArray previous_;
};
