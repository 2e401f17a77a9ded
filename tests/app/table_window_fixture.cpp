#include "tests/app/table_window_fixture.h"

#include "table/recording_grid.h"

void TableWindowTest::SetUp()
{
    WindowTest::SetUp();
    // Every refresh shows the rows anew.
    QObject::connect(window->sgrid->model(), &QAbstractItemModel::modelReset, window.get(), [this] {
        refreshes.push_back({window->table().rowCount() - 1, static_cast<int>(prompts.messages.size())});
    });
}

QString TableWindowTest::recording(const QString &name, const RecordingFields &fields)
{
    return writeRecording(path(name), fields);
}

QStringList TableWindowTest::column(int column) const
{
    QStringList cells;
    for (int row = 1; row < window->table().rowCount(); ++row)
        cells << window->table().cell(row, column);
    return cells;
}
