#pragma once

// The core's texts as Qt's, for comparing them in Qt Test.

#include <QStringList>

#include <string>
#include <vector>

inline QStringList ToQt(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts)
        list << QString::fromStdString(text);
    return list;
}
