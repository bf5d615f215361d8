#pragma once

#include "host/KVPluginQtGlobal.h"
#include "host/KVWidgetBuilder.h"

#include <QString>

#include <cstdint>

namespace KV {

class CKorvelInterface;

/// State every plug-in object, section and dialog of the framework carries.
class KVPLUGINQT_EXPORT CCoreBase
{
public:
    CCoreBase();
    virtual ~CCoreBase();

    /// The first text of Initialize: the plug-in's folder.
    QString m_firstText;
    /// A further text handed to dialogs; the host's set-up string for plug-in objects.
    QString m_furtherText;
    CKorvelInterface* m_host = nullptr;
    CWidgetBuilder m_widgetBuilder;
    std::uint64_t m_hotKeyCategory = 0;
};

} // namespace KV
