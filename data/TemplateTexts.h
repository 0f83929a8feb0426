#pragma once

#include <QString>

// Texts that come with the project templates and are stored in every
// project made from them: the changeovers' currency names and descriptions,
// the names of the kinds of data source. They are shown in the user's
// language; what the project holds is never rewritten. A text the user
// wrote himself (one no template has) is shown as it is.
namespace templatetext {

QString shown(const QString &stored);

} // namespace templatetext
