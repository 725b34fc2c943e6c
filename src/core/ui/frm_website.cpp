#include "ui/frm_website.h"

#include <memory>

namespace cd::ui {

FrmWebsite::FrmWebsite() : Form("frmWebsite", "Website") {
    Timer1 = &add(std::make_unique<Timer>("Timer1", 1000, true));
}

}  // namespace cd::ui
