// Resources of a native build. There is no resource section outside Windows, so
// a module handle is the address of one of these tables, generated at build time
// from the same resource script that windres compiles for the Windows library.
#pragma once

#include <cstdint>

enum afx_resource_type : uint32_t { AFX_RESOURCE_BINARY = 0, AFX_RESOURCE_ICON = 1 };

struct afx_resource_entry {
    uint32_t type;  // afx_resource_type
    uint32_t id;
    const unsigned char* data;
    const unsigned char* end;  // one past the last byte
};

struct afx_resource_bundle {
    const afx_resource_entry* entries;
    uint32_t count;
};

// The entry of type and id in the bundle a module handle points at; null when
// there is none.
inline const afx_resource_entry* afx_resource_bundle_find(const void* module, uint32_t type,
                                                          uint32_t id) {
    const afx_resource_bundle* bundle = static_cast<const afx_resource_bundle*>(module);
    if (!bundle) return nullptr;
    for (uint32_t i = 0; i < bundle->count; ++i) {
        const afx_resource_entry& e = bundle->entries[i];
        if (e.type == type && e.id == id) return &e;
    }
    return nullptr;
}
