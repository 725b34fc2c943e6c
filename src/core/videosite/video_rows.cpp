#include "videosite/video_rows.h"

namespace cd::videosite {

int AddVideoRows(std::vector<formats::Video> videos, ui::ListView& list) {
    int added = 0;
    list.beginUpdate();
    for (formats::Video& video : videos) {
        ui::ListItem row;
        row.text = std::move(video.title);
        row.key = std::move(video.id);
        if (list.addItem(std::move(row)) >= 0) ++added;
    }
    list.endUpdate();
    return added;
}

}  // namespace cd::videosite
