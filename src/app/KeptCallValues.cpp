#include "app/KeptCallValues.h"

#include <QAbstractItemModel>
#include <QTimer>
#include <algorithm>
#include <numeric>
#include <optional>

#include "commands/BusyCursor.h"

namespace kestal {

namespace {

// About 5 ms of reading at a time.
constexpr std::size_t kCallsPerPiece = 16384;
// After a load the grid's first paint comes before the first piece.
constexpr int kFirstPieceAfterMs = 100;
// Values this light are read ahead whatever the log's size.
constexpr std::uint64_t kAlwaysAhead = std::uint64_t{16} << 20;

}  // namespace

KeptCallValues::KeptCallValues(const CallTable& table, const LogLines& lines, Platform& platform,
                               QObject* parent)
    : QObject(parent), table_(table), lines_(lines), platform_(platform) {
    reader_ = new QTimer(this);
    reader_->setInterval(0);
    connect(reader_, &QTimer::timeout, this, &KeptCallValues::readSome);
}

void KeptCallValues::watch(QAbstractItemModel* model) {
    if (model == model_) return;
    if (model_) disconnect(model_, nullptr, this, nullptr);
    model_ = model;
    keepFirst(0);
    readAhead(0);
    // Told before the table changes, so that whoever hears of the change
    // after it finds no values of the old calls here; no reading while it
    // changes. Model row r is table row r + 1.
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, [this] { keepFirst(0); });
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int first) { keepFirst(static_cast<std::size_t>(first)); });
    // A followed log adds calls after its last call and may write that one
    // again too.
    connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this](const QModelIndex&, int first) {
                keepFirst(static_cast<std::size_t>(std::max(first - 1, 0)));
            });
    connect(model, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& topLeft) {
        keepFirst(static_cast<std::size_t>(topLeft.row()));
        readAhead(0);
    });
    const auto readOn = [this] { readAhead(0); };
    connect(model, &QAbstractItemModel::modelReset, this,
            [this] { readAhead(kFirstPieceAfterMs); });
    connect(model, &QAbstractItemModel::rowsRemoved, this, readOn);
    connect(model, &QAbstractItemModel::rowsInserted, this, readOn);
}

const std::vector<CallValues>& KeptCallValues::values() {
    reader_->stop();
    // The last call of a followed log may have been written again since
    // (with no call added, only dataChanged tells, and maybe after the
    // grid has told the windows).
    if (!values_.empty()) values_.pop_back();
    // Not read ahead, or not yet: a second or so on a log of millions of
    // calls.
    std::optional<BusyCursor> busy;
    if (values_.size() + kCallsPerPiece < callCount()) busy.emplace(platform_);
    readUpTo(callCount());
    return values_;
}

void KeptCallValues::readSome() {
    readUpTo(std::min(callCount(), values_.size() + kCallsPerPiece));
    if (values_.size() >= callCount())
        reader_->stop();
    else
        reader_->setInterval(0);
}

void KeptCallValues::keepFirst(std::size_t count) {
    reader_->stop();
    values_.resize(std::min(values_.size(), count));
    if (count == 0) values_.shrink_to_fit();
}

void KeptCallValues::readUpTo(std::size_t count) {
    if (count <= values_.size()) {
        values_.resize(count);
        return;
    }
    std::vector<int> rows(count - values_.size());
    std::iota(rows.begin(), rows.end(), static_cast<int>(values_.size()) + 1);
    const std::vector<CallValues> more = readCallValues(table_, rows, platform_.regionalSettings());
    values_.insert(values_.end(), more.begin(), more.end());
}

void KeptCallValues::readAhead(int afterMs) {
    // A followed log grows both its calls and its bytes: the share is
    // looked at again at every change.
    if (callCount() * sizeof(CallValues) > std::max(kAlwaysAhead, lines_.byteCount() / 16)) return;
    reader_->start(afterMs);
}

std::size_t KeptCallValues::callCount() const {
    return static_cast<std::size_t>(table_.callCount());
}

}  // namespace kestal
