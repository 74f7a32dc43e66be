#pragma once
#include <QString>

// Gives an object its name in the program (txtNumer, cmdOk), by which tests and the help find
// it, and hands it back: `auto* e = named(new QLineEdit(this), "txtNumer")`.
template <class T>
T* named(T* object, const QString& name)
{
    object->setObjectName(name);
    return object;
}
