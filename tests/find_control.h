// Window tests reach a window's controls by their object names, as the user
// reaches them by their captions: the windows keep their widgets private.
#pragma once

#include <QObject>
#include <QString>

namespace wayloom::testing {

template <class T>
T* control(const QObject& window, const char* name)
{
    T* found = window.findChild<T*>(QString::fromUtf8(name));
    if (!found) qFatal("no %s named %s", T::staticMetaObject.className(), name);
    return found;
}

} // namespace wayloom::testing
