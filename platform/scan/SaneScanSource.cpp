#include "platform/scan/SaneScanSource.h"

#include "core/AppError.h"
#include "platform/scan/ScanPageAssembler.h"

#include <sane/sane.h>
#include <sane/saneopts.h>

#include <QByteArray>
#include <cstring>
#include <algorithm>
#include <functional>
#include <cmath>
#include <vector>

namespace picbasket {

namespace {

// A scan that cannot go on: the text the user is shown.
struct ScanFailure {
    QString message;
};

// A scan the user or the page handler stopped.
struct ScanCancelled {};

QString statusText(SANE_Status status) {
    return QString::fromUtf8(sane_strstatus(status));
}

// The standard resolutions offered when a device gives a range.
constexpr int CommonResolutions[] = {75, 100, 150, 200, 300, 400, 600, 1200, 2400, 4800};

// One opened device and its options, closed when it goes.
class SaneDevice {
public:
    explicit SaneDevice(const QString& name) {
        const SANE_Status status = sane_open(name.toUtf8().constData(), &handle_);
        if (status != SANE_STATUS_GOOD) {
            handle_ = nullptr;
            throw ScanFailure{statusText(status)};
        }
    }
    ~SaneDevice() {
        sane_cancel(handle_);
        sane_close(handle_);
    }
    SaneDevice(const SaneDevice&) = delete;
    SaneDevice& operator=(const SaneDevice&) = delete;

    SANE_Handle handle() const { return handle_; }

    // The descriptor of the option with that name; nullptr when the device has none.
    const SANE_Option_Descriptor* find(const char* name, int* index = nullptr) const {
        SANE_Int count = 0;
        if (sane_control_option(handle_, 0, SANE_ACTION_GET_VALUE, &count, nullptr) != SANE_STATUS_GOOD)
            return nullptr;
        for (int i = 1; i < count; ++i) {
            const SANE_Option_Descriptor* d = sane_get_option_descriptor(handle_, i);
            if (d && d->name && std::strcmp(d->name, name) == 0) {
                if (index)
                    *index = i;
                return d;
            }
        }
        return nullptr;
    }

    static bool usable(const SANE_Option_Descriptor* d) {
        return d && SANE_OPTION_IS_ACTIVE(d->cap);
    }

    QString stringValue(const char* name) const {
        int index = 0;
        const SANE_Option_Descriptor* d = find(name, &index);
        if (!usable(d) || d->type != SANE_TYPE_STRING || d->size <= 0)
            return {};
        QByteArray value(d->size, '\0');
        if (sane_control_option(handle_, index, SANE_ACTION_GET_VALUE, value.data(), nullptr) !=
            SANE_STATUS_GOOD)
            return {};
        return QString::fromUtf8(value.constData());
    }

    // An integer or fixed-point option as a whole number; 0 when absent.
    int numberValue(const char* name) const {
        int index = 0;
        const SANE_Option_Descriptor* d = find(name, &index);
        if (!usable(d) || (d->type != SANE_TYPE_INT && d->type != SANE_TYPE_FIXED) ||
            d->size < int(sizeof(SANE_Word)))
            return 0;
        std::vector<SANE_Word> value(size_t(d->size) / sizeof(SANE_Word) + 1);
        if (sane_control_option(handle_, index, SANE_ACTION_GET_VALUE, value.data(), nullptr) !=
            SANE_STATUS_GOOD)
            return 0;
        return toWhole(d, value[0]);
    }

    QStringList stringChoices(const char* name) const {
        const SANE_Option_Descriptor* d = find(name);
        QStringList out;
        if (!usable(d) || d->constraint_type != SANE_CONSTRAINT_STRING_LIST)
            return out;
        for (const SANE_String_Const* s = d->constraint.string_list; *s; ++s)
            out << QString::fromUtf8(*s);
        return out;
    }

    // The values of a word list, or for a range the common values inside it.
    std::vector<int> numberChoices(const char* name, const int* common, size_t commonCount) const {
        const SANE_Option_Descriptor* d = find(name);
        std::vector<int> out;
        if (!usable(d) || (d->type != SANE_TYPE_INT && d->type != SANE_TYPE_FIXED))
            return out;
        if (d->constraint_type == SANE_CONSTRAINT_WORD_LIST) {
            const SANE_Word* list = d->constraint.word_list;
            for (int i = 1; i <= list[0]; ++i)
                out.push_back(toWhole(d, list[i]));
        } else if (d->constraint_type == SANE_CONSTRAINT_RANGE) {
            const int low = toWhole(d, d->constraint.range->min);
            const int high = toWhole(d, d->constraint.range->max);
            for (size_t i = 0; i < commonCount; ++i)
                if (common[i] >= low && common[i] <= high)
                    out.push_back(common[i]);
            if (out.empty())
                out = {low, high};
        }
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
        return out;
    }

    // Sets an option from its text. An option the device has but not in this state
    // (inactive, or not settable) is skipped; a missing one is skipped unless
    // `required`. A missing required option, as any refusal, ends the scan.
    void set(const QString& name, const QString& text, bool required) {
        int index = 0;
        const QByteArray key = name.toUtf8();
        const SANE_Option_Descriptor* d = find(key.constData(), &index);
        if (!d && required)
            throw ScanFailure{QStringLiteral("The scanner has no setting \"%1\".").arg(name)};
        if (!usable(d) || !SANE_OPTION_IS_SETTABLE(d->cap))
            return;
        const SANE_Status status = setValue(index, d, text);
        if (status != SANE_STATUS_GOOD)
            throw ScanFailure{QStringLiteral("The scanner refused \"%1\" for \"%2\": %3")
                                  .arg(text, name, statusText(status))};
    }

private:
    static int toWhole(const SANE_Option_Descriptor* d, SANE_Word word) {
        return d->type == SANE_TYPE_FIXED ? int(std::lround(SANE_UNFIX(word))) : int(word);
    }

    SANE_Status setValue(int index, const SANE_Option_Descriptor* d, const QString& text) {
        switch (d->type) {
        case SANE_TYPE_STRING: {
            QByteArray value = text.toUtf8();
            if (value.size() >= d->size)
                return SANE_STATUS_INVAL;
            value.resize(d->size, '\0');
            return sane_control_option(handle_, index, SANE_ACTION_SET_VALUE, value.data(), nullptr);
        }
        case SANE_TYPE_BOOL: {
            const QString t = text.trimmed().toLower();
            SANE_Word value = (t == "true" || t == "1" || t == "yes") ? SANE_TRUE : SANE_FALSE;
            return sane_control_option(handle_, index, SANE_ACTION_SET_VALUE, &value, nullptr);
        }
        case SANE_TYPE_INT:
        case SANE_TYPE_FIXED: {
            bool ok = false;
            const double number = text.toDouble(&ok);
            if (!ok)
                return SANE_STATUS_INVAL;
            std::vector<SANE_Word> value(std::max<size_t>(1, size_t(d->size) / sizeof(SANE_Word)),
                                         d->type == SANE_TYPE_FIXED ? SANE_FIX(number)
                                                                    : SANE_Word(std::lround(number)));
            return sane_control_option(handle_, index, SANE_ACTION_SET_VALUE, value.data(), nullptr);
        }
        default:
            return SANE_STATUS_UNSUPPORTED;
        }
    }

    SANE_Handle handle_ = nullptr;
};

ScanFrameFormat frameFormatOf(const SANE_Parameters& p) {
    ScanFrameFormat f;
    switch (p.format) {
    case SANE_FRAME_GRAY:
        f.kind = ScanFrameFormat::Grey;
        break;
    case SANE_FRAME_RGB:
        f.kind = ScanFrameFormat::Rgb;
        break;
    case SANE_FRAME_RED:
        f.kind = ScanFrameFormat::Red;
        break;
    case SANE_FRAME_GREEN:
        f.kind = ScanFrameFormat::Green;
        break;
    case SANE_FRAME_BLUE:
        f.kind = ScanFrameFormat::Blue;
        break;
    default:
        throw ScanFailure{QStringLiteral("The scanner sends pages in a form this program does not read.")};
    }
    f.lastFrame = p.last_frame == SANE_TRUE;
    f.bytesPerLine = p.bytes_per_line;
    f.pixelsPerLine = p.pixels_per_line;
    f.lines = p.lines;
    f.depth = p.depth;
    return f;
}

// Checks a status of sane_start or sane_read: cancelled or a failure ends the scan.
void require(SANE_Status status) {
    if (status == SANE_STATUS_CANCELLED)
        throw ScanCancelled{};
    if (status != SANE_STATUS_GOOD)
        throw ScanFailure{statusText(status)};
}

// A cancelled device may end its frame early as if it were whole: the frame counts
// only when no cancel came.
void readFrame(SaneDevice& device, ScanPageAssembler& assembler,
               const std::function<bool()>& cancelled) {
    SANE_Parameters parameters{};
    require(sane_get_parameters(device.handle(), &parameters));
    assembler.beginFrame(frameFormatOf(parameters));
    std::vector<SANE_Byte> buffer(64 * 1024);
    for (;;) {
        SANE_Int length = 0;
        const SANE_Status status =
            sane_read(device.handle(), buffer.data(), SANE_Int(buffer.size()), &length);
        if (cancelled())
            throw ScanCancelled{};
        if (status == SANE_STATUS_EOF)
            break;
        require(status);
        assembler.addData(buffer.data(), size_t(std::max<SANE_Int>(0, length)));
    }
    assembler.endFrame();
}

void applySettings(SaneDevice& device, const ScanSettings& s) {
    // The source first: a feeder may offer other modes and resolutions.
    if (!s.source.isEmpty())
        device.set(QStringLiteral(SANE_NAME_SCAN_SOURCE), s.source, false);
    if (!s.mode.isEmpty())
        device.set(QStringLiteral(SANE_NAME_SCAN_MODE), s.mode, false);
    if (s.depth > 0)
        device.set(QStringLiteral(SANE_NAME_BIT_DEPTH), QString::number(s.depth), false);
    if (s.resolution > 0)
        device.set(QStringLiteral(SANE_NAME_SCAN_RESOLUTION), QString::number(s.resolution), false);
    for (const auto& [name, value] : s.extra)
        device.set(name, value, true);
}

} // namespace

std::shared_ptr<SaneScanSource> SaneScanSource::instance() {
    static std::shared_ptr<SaneScanSource> source(new SaneScanSource);
    return source;
}

SaneScanSource::~SaneScanSource() {
    if (started_)
        sane_exit();
}

bool SaneScanSource::start() {
    if (!started_) {
        SANE_Int version = 0;
        const SANE_Status status = sane_init(&version, nullptr);
        started_ = status == SANE_STATUS_GOOD;
        if (!started_)
            devicesProblem_ = QString::fromUtf8(sane_strstatus(status));
    }
    return started_;
}

std::vector<ScanDevice> SaneScanSource::devices() {
    std::lock_guard lock(mutex_);
    std::vector<ScanDevice> out;
    const SANE_Device** list = nullptr;
    if (!start())
        return out;
    devicesProblem_.clear();
    const SANE_Status status = sane_get_devices(&list, SANE_FALSE);
    if (status != SANE_STATUS_GOOD || !list) {
        devicesProblem_ = QString::fromUtf8(sane_strstatus(status));
        return out;
    }
    for (; *list; ++list) {
        const SANE_Device* d = *list;
        out.push_back({QString::fromUtf8(d->name), QString::fromUtf8(d->vendor),
                       QString::fromUtf8(d->model), QString::fromUtf8(d->type)});
    }
    return out;
}

QString SaneScanSource::devicesProblem() {
    std::lock_guard lock(mutex_);
    return devicesProblem_;
}

std::optional<ScanDeviceOptions> SaneScanSource::options(const QString& name) {
    std::lock_guard lock(mutex_);
    if (!start())
        return std::nullopt;
    try {
        SaneDevice device(name);
        static const int depths[] = {1, 8, 16};
        ScanDeviceOptions o;
        o.device.name = name;
        o.modes = device.stringChoices(SANE_NAME_SCAN_MODE);
        o.mode = device.stringValue(SANE_NAME_SCAN_MODE);
        o.depths = device.numberChoices(SANE_NAME_BIT_DEPTH, depths, 3);
        o.depth = device.numberValue(SANE_NAME_BIT_DEPTH);
        o.resolutions = device.numberChoices(SANE_NAME_SCAN_RESOLUTION, CommonResolutions,
                                             std::size(CommonResolutions));
        o.resolution = device.numberValue(SANE_NAME_SCAN_RESOLUTION);
        o.sources = device.stringChoices(SANE_NAME_SCAN_SOURCE);
        o.source = device.stringValue(SANE_NAME_SCAN_SOURCE);
        if (o.resolution > 0 &&
            std::find(o.resolutions.begin(), o.resolutions.end(), o.resolution) == o.resolutions.end()) {
            o.resolutions.push_back(o.resolution);
            std::sort(o.resolutions.begin(), o.resolutions.end());
        }
        return o;
    } catch (const ScanFailure&) {
        return std::nullopt;
    }
}

void SaneScanSource::setOpenHandle(void* handle) {
    std::lock_guard lock(handleMutex_);
    openHandle_ = handle;
}

void SaneScanSource::cancel() {
    std::lock_guard lock(handleMutex_);
    cancelRequested_ = true;
    if (openHandle_)
        sane_cancel(static_cast<SANE_Handle>(openHandle_));
}

ScanOutcome SaneScanSource::scan(const ScanSettings& settings,
                                 const std::function<bool(const QImage&)>& page) {
    std::lock_guard lock(mutex_);
    cancelRequested_ = false;
    ScanOutcome outcome;
    if (!start()) {
        outcome.failed = true;
        outcome.message = QStringLiteral("The scanner library could not be started.");
        return outcome;
    }
    try {
        SaneDevice device(settings.device);
        setOpenHandle(device.handle());
        struct Forget {
            SaneScanSource* self;
            ~Forget() { self->setOpenHandle(nullptr); }
        } forget{this};
        applySettings(device, settings);
        const bool feeder = isFeederSource(device.stringValue(SANE_NAME_SCAN_SOURCE));
        const int dotsPerMeter = int(std::lround(device.numberValue(SANE_NAME_SCAN_RESOLUTION) / 0.0254));
        ScanPageAssembler assembler;
        for (;;) {
            if (cancelRequested())
                throw ScanCancelled{};
            assembler.reset();
            do {
                const SANE_Status status = sane_start(device.handle());
                // A feeder that ran empty after its pages ends the scan normally.
                if (status == SANE_STATUS_NO_DOCS && feeder && outcome.pages > 0)
                    return outcome;
                require(status);
                readFrame(device, assembler, [this] { return cancelRequested(); });
            } while (!assembler.complete());
            QImage image = assembler.page();
            if (dotsPerMeter > 0) {
                image.setDotsPerMeterX(dotsPerMeter);
                image.setDotsPerMeterY(dotsPerMeter);
            }
            ++outcome.pages;
            if (!page(image) || cancelRequested())
                throw ScanCancelled{};
            if (!feeder)
                return outcome;
        }
    } catch (const ScanCancelled&) {
        outcome.cancelled = true;
    } catch (const ScanFailure& failure) {
        outcome.failed = true;
        outcome.message = failure.message;
    } catch (const AppError& error) {
        outcome.failed = true;
        outcome.message = error.description();
    }
    return outcome;
}

} // namespace picbasket
