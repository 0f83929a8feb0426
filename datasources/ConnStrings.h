#pragma once

#include <QString>
#include <QtGlobal>

namespace db {
class Connection;
}

// The connection string of data source `plngIdConn`, assembled from its tConn
// row and the templates of its type in tConnType: the raw type (6) gives its
// stored ConnString; every other type the type's head followed by the tag of
// each non-empty value (data source, user name, password, security file,
// database password, database) with "[VALUE]" replaced by the value, then the
// integrated-security tag when that flag is set; a lock timeout set for the
// whole run (db::setRunLockTimeout) comes last, over the string's own. ""
// when none can be built (the error is shown with the standard error box).
QString fgGetConnString(db::Connection &pConn, qint32 plngIdConn);

// The same without the error box, for runs without a window: throws DbError
// with the reason when the string cannot be built (its type is not in the
// project, a Null where a text is needed).
QString buildConnString(db::Connection &pConn, qint32 plngIdConn);

// The text of a data source's tree node: the description, followed by
// " (Deconectat)" when the data source is offline.
QString fgGetConnText(const QString &pstrDescription, bool pbOffline);
