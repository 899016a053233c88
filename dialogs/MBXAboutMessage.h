// MBXAboutMessage: the About box. The common message page with a short
// invitation to the maker's website and the web address itself, drawn in
// amber; pressing the address and letting go anywhere opens it in the
// user's browser and closes the box.
#pragma once

#include <cstdint>

#include "dialogs/MBXMessage.h"

class MBXAboutMessage : public MBXMessage {
public:
    static constexpr int32_t kDialogId = 131;
    // The maker's page: shown on the About box and opened from it.
    static constexpr const char* kWebAddress = "https://corvane.example/korvex52";

    // A clickable area of the page, in page pixels, edges included.
    struct HotSpot {
        int32_t x, y, width, height;
        uint8_t armed;     // a press began on it
        uint8_t pressed;   // it is held down
        uint8_t disabled;  // never hit while set
    };

    explicit MBXAboutMessage(MBXManager& manager);
    // Puts back the cursor the address may have changed.
    ~MBXAboutMessage() override;

    // A left press on the address arms it; the buttons work as on every page.
    bool onPointerDown(int32_t x, int32_t y, int32_t button, int32_t flags) override;
    // With the address armed: opens it and ends the box, wherever the release is.
    bool onPointerUp(int32_t x, int32_t y, int32_t button) override;
    // The hand cursor while over the address; the buttons follow a held press.
    bool onPointerMove(int32_t x, int32_t y, float dx, float dy) override;
    void draw() override;

    const HotSpot& link() const { return hotSpot; }

private:
    bool overLink(int32_t x, int32_t y) const;
    // The invitation paragraph and the address; sets the hot spot.
    void drawInvitation();

    HotSpot hotSpot = {0, 0, 0, 0, 0, 0, 0};
};
