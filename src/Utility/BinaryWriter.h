// Writing of the native little-endian binary data files into a buffer,
// the counterpart of CBinaryReader.
#pragma once

#include <cstdint>
#include <string>

// Appends plain values in native byte order to a string buffer.
class CBinaryWriter {
public:
    template <typename T>
    void Write(const T& value)
    {
        m_sData.append(reinterpret_cast<const char*>(&value), sizeof(T));
    }
    void WriteBytes(const std::string& sBytes) { m_sData += sBytes; }
    void WriteSizedString(const std::string& sBytes)
    {
        Write(static_cast<uint64_t>(sBytes.size()));
        WriteBytes(sBytes);
    }
    const std::string& Data() const { return m_sData; }

private:
    std::string m_sData;
};
