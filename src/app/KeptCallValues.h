// The values of every call that Call > Statistics and Trends work from
// (CallValues, 96 bytes a call), read once after a load a piece at a time
// while the program waits for the user, so that the windows open, follow
// the grid's sort and filter and change period without reading the cells.
// A log of many short calls, whose values would weigh more than a sixteenth
// of it, has them read when they are first asked for instead: the window
// holding the log stays near its size until the user wants them.
#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

#include "lines/LogLines.h"
#include "platform/Platform.h"
#include "table/CallValues.h"

class QAbstractItemModel;
class QTimer;

namespace kestal {

class KeptCallValues : public QObject {
    Q_OBJECT
public:
    // table holds the calls of lines.
    KeptCallValues(const CallTable& table, const LogLines& lines, Platform& platform,
                   QObject* parent = nullptr);

    // Follows the changes of model, the call table model over table.
    void watch(QAbstractItemModel* model);
    // Every call's values, element i for table row i + 1; what the pieces
    // haven't read yet is read at once.
    const std::vector<CallValues>& values();
    // How many calls' values are at hand (read ahead or asked for).
    std::size_t keptCount() const { return values_.size(); }

private:
    void readSome();
    // Keeps the values of the first count calls, reads the others again.
    void keepFirst(std::size_t count);
    void readUpTo(std::size_t count);
    std::size_t callCount() const;
    // Reading ahead, while the values are light beside the log.
    void readAhead(int afterMs);

    const CallTable& table_;
    const LogLines& lines_;
    Platform& platform_;
    QPointer<QAbstractItemModel> model_;
    std::vector<CallValues> values_;
    QTimer* reader_ = nullptr;
};

}  // namespace kestal
