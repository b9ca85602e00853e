#pragma once

#include <QIcon>

// The application icon in every size that is compiled in.
QIcon AppIcon();
