#pragma once

#include <QtCore/qglobal.h>

#if defined(KVPLUGINQT_LIBRARY)
#define KVPLUGINQT_EXPORT Q_DECL_EXPORT
#else
#define KVPLUGINQT_EXPORT Q_DECL_IMPORT
#endif
