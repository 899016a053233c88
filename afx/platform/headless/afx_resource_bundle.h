// Resources of a native build. There is no resource section outside Windows, so
// a module handle is the address of one of these tables, generated at build time
// from the same resource script that windres compiles for the Windows library.
#pragma once

#include <cstdint>

enum afx_resource_type : uint32_t { AFX_RESOURCE_BINARY = 0, AFX_RESOURCE_ICON = 1 };

struct afx_resource_entry {
    uint32_t type;              // afx_resource_type
    uint32_t id;
    const unsigned char* data;
    const unsigned char* end;   // one past the last byte
};

struct afx_resource_bundle {
    const afx_resource_entry* entries;
    uint32_t count;
};
