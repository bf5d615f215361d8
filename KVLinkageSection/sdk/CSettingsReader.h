#pragma once

#include <string>

namespace UB {

/// The host's reader of settings, handed to a settings object's Load. Each read answers the
/// stored value of `key` in `section`, or `defaultValue` when there is none.
///
/// Virtual slot order is the host's binary contract: destructor, ReadString, ReadBool.
class CSettingsReader
{
public:
    virtual ~CSettingsReader() = default;
    virtual std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                                    const std::wstring& defaultValue) = 0;
    virtual bool ReadBool(const std::wstring& section, const std::wstring& key,
                          bool defaultValue) = 0;
};

} // namespace UB
