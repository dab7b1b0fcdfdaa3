// Trackbars: a range, a position kept inside it, and a page size.
#include <algorithm>

#include "platform/ui/control_kinds.h"

namespace {

class TrackbarControl final : public Control {
public:
    bool Handle(HWND, UINT message, WPARAM, LPARAM lParam, LRESULT& result) override {
        const auto value = static_cast<LONG>(lParam);
        switch (message) {
            case TBM_SETRANGE:
                m_min = static_cast<SHORT>(LOWORD(static_cast<ULONG_PTR>(lParam)));
                m_max = static_cast<SHORT>(HIWORD(static_cast<ULONG_PTR>(lParam)));
                break;
            case TBM_SETRANGEMIN:
                m_min = value;
                break;
            case TBM_SETRANGEMAX:
                m_max = value;
                break;
            case TBM_SETPOS:
                m_position = value;
                break;
            case TBM_SETPAGESIZE:
                result = m_pageSize;
                m_pageSize = value;
                return true;
            case TBM_GETPOS:
                result = Clamped();
                return true;
            case TBM_GETRANGEMIN:
                result = m_min;
                return true;
            case TBM_GETRANGEMAX:
                result = m_max;
                return true;
            case TBM_GETPAGESIZE:
                result = m_pageSize;
                return true;
            default:
                return false;
        }
        m_position = Clamped();
        result = 0;
        return true;
    }

    void Describe(ControlSnapshot& snapshot) const override {
        snapshot.rangeMin = m_min;
        snapshot.rangeMax = m_max;
        snapshot.position = Clamped();
        snapshot.pageSize = m_pageSize;
    }

private:
    LONG Clamped() const { return std::clamp(m_position, m_min, std::max(m_min, m_max)); }

    LONG m_min = 0;
    LONG m_max = 100;
    LONG m_position = 0;
    LONG m_pageSize = 20;
};

}  // namespace

std::unique_ptr<Control> MakeTrackbarControl() {
    return std::make_unique<TrackbarControl>();
}
