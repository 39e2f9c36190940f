#include "os/hid/report_descriptor.h"

#include <map>
#include <utility>

namespace os::hid {

namespace {

constexpr int kMaxPushDepth = 32;
constexpr int kMaxCollectionDepth = 64;
constexpr uint32_t kMaxReportBits = (kMaxReportLength - 1) * 8u;  // data bits after the id byte

// Item tags (prefix byte with the size bits cleared).
enum : uint8_t {
    kMainInput = 0x80,
    kMainOutput = 0x90,
    kMainCollection = 0xA0,
    kMainFeature = 0xB0,
    kMainEndCollection = 0xC0,
    kGlobalUsagePage = 0x04,
    kGlobalLogicalMin = 0x14,
    kGlobalLogicalMax = 0x24,
    kGlobalPhysicalMin = 0x34,
    kGlobalPhysicalMax = 0x44,
    kGlobalUnitExponent = 0x54,
    kGlobalUnit = 0x64,
    kGlobalReportSize = 0x74,
    kGlobalReportId = 0x84,
    kGlobalReportCount = 0x94,
    kGlobalPush = 0xA4,
    kGlobalPop = 0xB4,
    kLocalUsage = 0x08,
    kLocalUsageMin = 0x18,
    kLocalUsageMax = 0x28,
    kLocalDelimiter = 0xA8,
};

constexpr uint8_t kLongItemPrefix = 0xFE;
constexpr uint32_t kBitConstant = 0x01;
constexpr uint32_t kBitVariable = 0x02;
constexpr uint32_t kBitRelative = 0x04;
constexpr uint32_t kBitNullState = 0x40;

struct Globals {
    uint16_t usagePage = 0;
    int32_t logicalMin = 0;
    int32_t logicalMax = 0;
    uint32_t logicalMaxBits = 0;  // the item's data zero-extended, for maxima meant unsigned
    int32_t physicalMin = 0;
    int32_t physicalMax = 0;
    uint32_t unitExponent = 0;
    uint32_t unit = 0;
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint8_t reportId = 0;
};

// A usage or usage range as declared; the page is resolved at the main item unless the item gave
// it in its upper 16 bits.
struct LocalUsage {
    bool hasPage;
    uint16_t page;
    uint16_t min;
    uint16_t max;
};

struct Locals {
    std::vector<LocalUsage> usages;
    bool haveMin = false;
    bool haveMax = false;
    uint32_t min = 0;
    uint32_t max = 0;
    int delimiterDepth = 0;
    bool delimiterTaken = false;  // only the first usage of a delimited alias set counts
};

struct Collection {
    std::shared_ptr<PreparsedData> data;
    std::map<std::pair<int, uint8_t>, uint32_t> bits;  // (type, id) -> next bit offset
    uint16_t dataIndex[kReportTypeCount] = {};
};

}  // namespace

class ReportDescriptor::Parser {
  public:
    Parser(std::span<const uint8_t> d, std::string* error) : d_(d), error_(error) {}

    bool Run(ReportDescriptor::Collections* out) {
        if (d_.size() > kMaxDescriptorLength)
            return Fail(0, "descriptor of " + std::to_string(d_.size()) + " bytes is too long");
        size_t pos = 0;
        while (pos < d_.size()) {
            const size_t at = pos;
            const uint8_t prefix = d_[pos++];
            if (prefix == kLongItemPrefix) {
                if (pos + 2 > d_.size()) return Fail(at, "truncated long item");
                const size_t size = d_[pos];
                pos += 2;
                if (pos + size > d_.size()) return Fail(at, "truncated long item");
                pos += size;
                continue;
            }
            const size_t size = (prefix & 3) == 3 ? 4 : (prefix & 3);
            if (pos + size > d_.size()) return Fail(at, "truncated item");
            uint32_t u = 0;
            for (size_t i = 0; i < size; ++i) u |= uint32_t{d_[pos + i]} << (8 * i);
            int32_t s = static_cast<int32_t>(u);
            if (size == 1) s = static_cast<int8_t>(u);
            if (size == 2) s = static_cast<int16_t>(u);
            pos += size;
            if (!Item(at, prefix & 0xFC, u, s, size)) return false;
        }
        if (depth_ != 0) return Fail(d_.size(), "collection not closed");
        if (done_.empty()) return Fail(d_.size(), "no top-level collection");
        for (auto& c : done_) out->push_back(std::move(c));
        return true;
    }

  private:
    bool Fail(size_t at, const std::string& what) {
        if (error_) *error_ = "report descriptor, offset " + std::to_string(at) + ": " + what;
        return false;
    }

    bool Item(size_t at, uint8_t tag, uint32_t u, int32_t s, size_t size) {
        switch (tag) {
            case kGlobalUsagePage:
                g_.usagePage = static_cast<uint16_t>(u);
                return true;
            case kGlobalLogicalMin:
                g_.logicalMin = s;
                return true;
            case kGlobalLogicalMax:
                g_.logicalMax = s;
                g_.logicalMaxBits = u;
                return true;
            case kGlobalPhysicalMin:
                g_.physicalMin = s;
                return true;
            case kGlobalPhysicalMax:
                g_.physicalMax = s;
                return true;
            case kGlobalUnitExponent:
                g_.unitExponent = u;
                return true;
            case kGlobalUnit:
                g_.unit = u;
                return true;
            case kGlobalReportSize:
                g_.reportSize = u;
                return true;
            case kGlobalReportCount:
                g_.reportCount = u;
                return true;
            case kGlobalReportId:
                if (u == 0 || u > 255) return Fail(at, "report id " + std::to_string(u));
                g_.reportId = static_cast<uint8_t>(u);
                return true;
            case kGlobalPush:
                if (stack_.size() >= kMaxPushDepth) return Fail(at, "push nested too deep");
                stack_.push_back(g_);
                return true;
            case kGlobalPop:
                if (stack_.empty()) return Fail(at, "pop without push");
                g_ = stack_.back();
                stack_.pop_back();
                return true;
            case kLocalUsage:
                return AddUsage(size == 4, u, u);
            case kLocalUsageMin:
                l_.min = u;
                l_.haveMin = true;
                return RangeDone(at, size);
            case kLocalUsageMax:
                l_.max = u;
                l_.haveMax = true;
                return RangeDone(at, size);
            case kLocalDelimiter:
                if (u == 1) {
                    ++l_.delimiterDepth;
                    l_.delimiterTaken = false;
                } else if (l_.delimiterDepth > 0) {
                    --l_.delimiterDepth;
                }
                return true;
            case kMainCollection:
                return OpenCollection(at, u);
            case kMainEndCollection:
                if (depth_ == 0) return Fail(at, "end collection without collection");
                --depth_;
                linkStack_.pop_back();
                l_ = Locals{};
                return true;
            case kMainInput:
                return MainItem(at, ReportType::kInput, u);
            case kMainOutput:
                return MainItem(at, ReportType::kOutput, u);
            case kMainFeature:
                return MainItem(at, ReportType::kFeature, u);
            default:
                return true;  // designators, strings and reserved tags carry nothing we use
        }
    }

    bool AddUsage(bool extended, uint32_t min, uint32_t max) {
        if (l_.delimiterDepth > 0) {
            if (l_.delimiterTaken) return true;
            l_.delimiterTaken = true;
        }
        l_.usages.push_back({extended, static_cast<uint16_t>(min >> 16), static_cast<uint16_t>(min),
                             static_cast<uint16_t>(max)});
        return true;
    }

    bool RangeDone(size_t at, size_t size) {
        if (!l_.haveMin || !l_.haveMax) return true;
        l_.haveMin = l_.haveMax = false;
        if ((l_.min & 0xFFFF) > (l_.max & 0xFFFF) ||
            (size == 4 && (l_.min >> 16) != (l_.max >> 16)))
            return Fail(at, "usage minimum above usage maximum");
        return AddUsage(size == 4, l_.min, l_.max);
    }

    uint16_t PageOf(const LocalUsage& u) const { return u.hasPage ? u.page : g_.usagePage; }

    bool OpenCollection(size_t at, uint32_t /*type*/) {
        if (depth_ >= kMaxCollectionDepth) return Fail(at, "collections nested too deep");
        const uint16_t page = l_.usages.empty() ? g_.usagePage : PageOf(l_.usages[0]);
        const uint16_t usage = l_.usages.empty() ? 0 : l_.usages[0].min;
        if (depth_ == 0) {
            current_ = std::make_shared<Collection>();
            current_->data = std::make_shared<PreparsedData>();
            current_->data->caps_.usagePage = page;
            current_->data->caps_.usage = usage;
            current_->data->links_.push_back({page, usage, 0});
            done_.push_back(current_->data);
            linkStack_.push_back(0);
        } else {
            auto& links = current_->data->links_;
            if (links.size() >= 0xFFFF) return Fail(at, "too many collections");
            links.push_back({page, usage, linkStack_.back()});
            linkStack_.push_back(static_cast<uint16_t>(links.size() - 1));
        }
        current_->data->caps_.numberLinkCollectionNodes =
            static_cast<uint16_t>(current_->data->links_.size());
        ++depth_;
        l_ = Locals{};
        return true;
    }

    bool MainItem(size_t at, ReportType type, uint32_t bits) {
        Locals locals = std::move(l_);
        l_ = Locals{};
        if (depth_ == 0) return Fail(at, "report item outside every collection");
        if (g_.reportId != 0)
            idsUsed_ = true;
        else
            itemsWithoutId_ = true;
        if (idsUsed_ && itemsWithoutId_) return Fail(at, "reports with and without report ids");
        if (auto [it, fresh] = idOwner_.emplace(g_.reportId, current_->data.get());
            !fresh && it->second != current_->data.get())
            return Fail(
                at, "report id " + std::to_string(g_.reportId) + " in two top-level collections");
        const bool constant = bits & kBitConstant;
        if (!constant && g_.reportSize > 32)
            return Fail(at, "report size of " + std::to_string(g_.reportSize) + " bits");
        const uint64_t total = uint64_t{g_.reportSize} * g_.reportCount;
        uint32_t& offset = current_->bits[{static_cast<int>(type), g_.reportId}];
        if (offset == 0) {
            offset = 8;  // after the report id byte
            current_->data->reportIds_[static_cast<int>(type)].push_back(g_.reportId);
        }
        if (offset - 8 + total > kMaxReportBits)
            return Fail(at, "report longer than " + std::to_string(kMaxReportLength) + " bytes");
        const uint32_t start = offset;
        offset += static_cast<uint32_t>(total);
        PreparsedData& data = *current_->data;
        const uint16_t length = static_cast<uint16_t>((offset + 7) / 8);
        uint16_t* caps_length = type == ReportType::kInput    ? &data.caps_.inputReportByteLength
                                : type == ReportType::kOutput ? &data.caps_.outputReportByteLength
                                                              : &data.caps_.featureReportByteLength;
        if (length > *caps_length) *caps_length = length;
        if (constant || total == 0) return true;

        PreparsedData::Field f{};
        f.type = type;
        f.reportId = g_.reportId;
        f.isArray = !(bits & kBitVariable);
        f.bitOffset = start;
        f.bitSize = g_.reportSize;
        f.count = g_.reportCount;
        f.logicalMin = g_.logicalMin;
        f.logicalMax = g_.logicalMax;
        // A logical maximum written in fewer bytes than it needs reads as negative; with a
        // non-negative minimum it was meant unsigned.
        if (f.logicalMin >= 0 && f.logicalMax < 0 && g_.logicalMaxBits <= 0x7FFFFFFF)
            f.logicalMax = static_cast<int32_t>(g_.logicalMaxBits);
        if (locals.usages.empty()) locals.usages.push_back({false, 0, 0, 0});
        const uint32_t fieldIndex = static_cast<uint32_t>(data.fields_.size());
        const uint16_t link = linkStack_.back();

        if (f.isArray) {
            for (const LocalUsage& u : locals.usages)
                f.arrayUsages.push_back({PageOf(u), u.min, u.max});
            data.fields_.push_back(f);
            for (const LocalUsage& u : locals.usages) {
                ButtonCaps c = BaseButton(type, bits, link);
                c.usagePage = PageOf(u);
                c.isRange = u.min != u.max;
                c.usageMin = u.min;
                c.usageMax = u.max;
                c.logicalMin = f.logicalMin;
                c.logicalMax = f.logicalMax;
                AddButton(type, c, fieldIndex, 0, 0, u.max - u.min + 1u);
            }
            return true;
        }
        data.fields_.push_back(f);
        // Variable fields take the declared usages in order, one slot each; slots left over when
        // the usages run out all carry the last usage.
        const bool button = g_.reportSize == 1;
        uint32_t slot = 0;
        for (size_t i = 0; i < locals.usages.size() && slot < f.count; ++i) {
            const LocalUsage& u = locals.usages[i];
            // A single last usage covers every slot left, as one capability of that count.
            const bool lastSingle = i + 1 == locals.usages.size() && u.min == u.max;
            const uint32_t n = lastSingle ? f.count - slot
                                          : std::min<uint32_t>(u.max - u.min + 1u, f.count - slot);
            EmitVariable(type, bits, link, button, PageOf(u), u.min,
                         lastSingle ? u.min : static_cast<uint16_t>(u.min + n - 1), n, fieldIndex,
                         slot, f);
            slot += n;
        }
        if (slot < f.count) {
            const LocalUsage& last = locals.usages.back();
            EmitVariable(type, bits, link, button, PageOf(last), last.max, last.max, f.count - slot,
                         fieldIndex, slot, f);
        }
        return true;
    }

    ButtonCaps BaseButton(ReportType, uint32_t bits, uint16_t link) const {
        ButtonCaps c;
        c.reportId = g_.reportId;
        c.bitField = static_cast<uint16_t>(bits);
        c.linkCollection = link;
        c.linkUsagePage = current_->data->links_[link].usagePage;
        c.linkUsage = current_->data->links_[link].usage;
        c.isAbsolute = !(bits & kBitRelative);
        return c;
    }

    void AddButton(ReportType type, ButtonCaps c, uint32_t field, uint32_t firstSlot,
                   uint32_t slotCount, uint32_t indices) {
        uint16_t& next = current_->dataIndex[static_cast<int>(type)];
        c.dataIndexMin = next;
        c.dataIndexMax = static_cast<uint16_t>(next + indices - 1);
        next = static_cast<uint16_t>(next + indices);
        PreparsedData& data = *current_->data;
        data.buttons_[static_cast<int>(type)].push_back({c, field, firstSlot, slotCount});
        Count(type, true, next);
    }

    void EmitVariable(ReportType type, uint32_t bits, uint16_t link, bool button, uint16_t page,
                      uint16_t min, uint16_t max, uint32_t slots, uint32_t field, uint32_t slot,
                      const PreparsedData::Field& f) {
        if (button) {
            ButtonCaps c = BaseButton(type, bits, link);
            c.usagePage = page;
            c.isRange = min != max;
            c.usageMin = min;
            c.usageMax = max;
            c.logicalMin = f.logicalMin;
            c.logicalMax = f.logicalMax;
            AddButton(type, c, field, slot, slots, min == max ? 1 : max - min + 1u);
            return;
        }
        ValueCaps c;
        c.usagePage = page;
        c.reportId = g_.reportId;
        c.bitField = static_cast<uint16_t>(bits);
        c.linkCollection = link;
        c.linkUsagePage = current_->data->links_[link].usagePage;
        c.linkUsage = current_->data->links_[link].usage;
        c.isRange = min != max;
        c.isAbsolute = !(bits & kBitRelative);
        c.hasNull = bits & kBitNullState;
        c.bitSize = static_cast<uint16_t>(f.bitSize);
        c.reportCount = static_cast<uint16_t>(std::min<uint32_t>(slots, 0xFFFF));
        c.unitsExp = g_.unitExponent;
        c.units = g_.unit;
        c.logicalMin = f.logicalMin;
        c.logicalMax = f.logicalMax;
        c.physicalMin = g_.physicalMin;
        c.physicalMax = g_.physicalMax;
        c.usageMin = min;
        c.usageMax = max;
        uint16_t& next = current_->dataIndex[static_cast<int>(type)];
        const uint32_t indices = min == max ? 1 : max - min + 1u;
        c.dataIndexMin = next;
        c.dataIndexMax = static_cast<uint16_t>(next + indices - 1);
        next = static_cast<uint16_t>(next + indices);
        current_->data->values_[static_cast<int>(type)].push_back({c, field, slot});
        Count(type, false, next);
    }

    void Count(ReportType type, bool button, uint16_t indices) {
        Caps& c = current_->data->caps_;
        const auto n = [&](ReportType rt, bool b) {
            return static_cast<uint16_t>(b ? current_->data->buttons_[static_cast<int>(rt)].size()
                                           : current_->data->values_[static_cast<int>(rt)].size());
        };
        switch (type) {
            case ReportType::kInput:
                (button ? c.numberInputButtonCaps : c.numberInputValueCaps) = n(type, button);
                c.numberInputDataIndices = indices;
                break;
            case ReportType::kOutput:
                (button ? c.numberOutputButtonCaps : c.numberOutputValueCaps) = n(type, button);
                c.numberOutputDataIndices = indices;
                break;
            case ReportType::kFeature:
                (button ? c.numberFeatureButtonCaps : c.numberFeatureValueCaps) = n(type, button);
                c.numberFeatureDataIndices = indices;
                break;
        }
    }

    std::span<const uint8_t> d_;
    std::string* error_;
    Globals g_;
    std::vector<Globals> stack_;
    Locals l_;
    int depth_ = 0;
    std::vector<uint16_t> linkStack_;
    std::shared_ptr<Collection> current_;
    std::vector<std::shared_ptr<PreparsedData>> done_;
    std::map<uint8_t, const PreparsedData*> idOwner_;
    bool idsUsed_ = false;
    bool itemsWithoutId_ = false;
};

bool ReportDescriptor::Parse(std::span<const uint8_t> descriptor, Collections* collections,
                             std::string* error) {
    collections->clear();
    Parser parser(descriptor, error);
    return parser.Run(collections);
}

}  // namespace os::hid
