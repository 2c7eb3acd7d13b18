#pragma once
#include <cstdint>
#include <functional>

namespace picbasket::pixelops {

// Images of fewer pixels than this are edited on the calling thread: below about
// a quarter megapixel, handing rows to other threads costs more than it saves.
inline constexpr int64_t DefaultSmallImagePixels = 250'000;

// Caps, for the thread that creates it and while it lives, how many threads the
// edit pixel loops of that thread may use. A batch job that already runs beside
// other jobs creates `EditThreadLimit limit(1);` so its edits stay on its own
// thread; the window thread sets none and uses every core. Scopes nest: the
// previous limit returns when the scope ends. `smallImagePixels` is the size
// below which an image is not split at all (tests set 0 to split even a 1 x N
// image).
class EditThreadLimit {
public:
    explicit EditThreadLimit(int threads, int64_t smallImagePixels = DefaultSmallImagePixels);
    ~EditThreadLimit();
    EditThreadLimit(const EditThreadLimit&) = delete;
    EditThreadLimit& operator=(const EditThreadLimit&) = delete;

    // The threads the calling thread's edits may use now (at least 1).
    static int threads();
    // The size under which the calling thread's edits are not split.
    static int64_t smallImagePixels();

private:
    int previousThreads_;
    int64_t previousSmall_;
};

// Runs `rows(begin, end)` over bands of rows [begin, end) covering 0..rowCount,
// spread over the edit thread pool within the calling thread's EditThreadLimit,
// and returns when every band is done. An image of fewer than the limit's small
// image pixels (rowCount x pixelsPerRow) runs as one band on the calling thread.
// Every band must write rows of its own only, so the result does not depend on
// how the rows were split. The first exception a band throws is rethrown here.
void forEachRowBand(int rowCount, int64_t pixelsPerRow,
                    const std::function<void(int begin, int end)>& rows);

} // namespace picbasket::pixelops
