#pragma once

#include <QString>

// The program's version as major.minor.revision, and its one-line description.
QString fgAppVersion();
QString fgAppDescription();
