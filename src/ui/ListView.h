#pragma once
// The list view in report style: columns with a caption, a width and an image.
#include <string>
#include <vector>

#include "ui/Controls.h"

struct TListColumn {
    std::string Caption;
    int Width = 50;
    int ImageIndex = -1;  // -1: no image
};

class TCustomListView : public TWinControl {
public:
    explicit TCustomListView(TComponent* owner);

    // Appends a column; the window gets it at once (or when it is made).
    void AddColumn(const TListColumn& column);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    const TListColumn& Column(int index) const { return columns_.at(static_cast<size_t>(index)); }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;

private:
    // Sends the column to the window, always with its image index, as the window
    // expects for columns that show an image.
    void InsertColumn(int index);

    std::vector<TListColumn> columns_;
};

class TListView : public TCustomListView {
public:
    using TCustomListView::TCustomListView;
};
