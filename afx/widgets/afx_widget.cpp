// The helpers every widget kind shares.
#include "afx/widgets/afx_widget.h"

float afx_clamp(float value, float low, float high) {
    const float raised = value > low ? value : low;
    return raised < high ? raised : high;
}

int32_t afx_value_to_index(float value, int32_t count) {
    if (count < 1) return 0;
    return static_cast<int32_t>(afx_clamp(value, 0.0f, 1.0f) * static_cast<float>(count - 1) +
                                0.5f);
}
