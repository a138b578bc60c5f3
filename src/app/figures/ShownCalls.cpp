#include "app/figures/ShownCalls.h"

namespace kestal {

void onShownCallsChanged(const ShownCalls& calls, QObject* receiver,
                         const std::function<void()>& refresh) {
    QAbstractItemModel* model = calls.gridModel;
    if (!model) return;
    QObject::connect(model, &QAbstractItemModel::modelReset, receiver, refresh);
    QObject::connect(model, &QAbstractItemModel::layoutChanged, receiver, refresh);
    QObject::connect(model, &QAbstractItemModel::rowsInserted, receiver, refresh);
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, receiver, refresh);
}

}  // namespace kestal
