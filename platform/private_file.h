#pragma once
#include <QFile>

// What the program makes from the database (its copies, the check's copy, mail messages and their
// attachments) is its owner's alone from the moment it exists, whatever the umask: it is created
// so, never narrowed afterwards.
inline QFileDevice::Permissions ownerOnly()
{
    return QFileDevice::ReadOwner | QFileDevice::WriteOwner;
}

// Creates the file `f` names for writing, readable and writable by its owner alone. Refuses a
// file already there, a link put in its place included.
inline bool createPrivate(QFile& f)
{
    return f.open(QIODevice::WriteOnly | QIODevice::NewOnly, ownerOnly());
}
