#pragma once

#include <QString>

#include <cstdint>

class QAction;

namespace KV {

class CKorvelInterface;

/// Registers the Linkage hot-key category ("[Hot Key] Modify" / "[Hot Key] Attribute" /
/// "[Hot Key] Linkage", translated) for `owner` with the host's hot-key manager and returns
/// the category handle the host gives back.
std::uint64_t RegisterLinkageHotKeyCategory(CKorvelInterface* host, const QString& owner);

/// Registers `action` under `category`. A failed registration leaves the action working
/// without a hot key, so the host's answer is not looked at.
void RegisterLinkageHotKeyAction(CKorvelInterface* host, std::uint64_t category, QAction* action);

} // namespace KV
