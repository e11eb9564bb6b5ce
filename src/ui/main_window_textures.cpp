// The level's textures in the windows: the texture picker's strips, the view's GL textures
// (made once the view has its GL context) and the tool bar's texture fields with their
// previews.
#include "ui/main_window.h"

#include "ui/gl_panel.h"
#include "ui/texture_picker.h"
#include "ui/tool_bar_window.h"
#include "view/texture_upload.h"

#include <QLabel>
#include <QSpinBox>

namespace morvane {

namespace {

constexpr int TextureFieldCount = 4;

} // namespace

void MainWindow::loadTexturePicker() {
    texturePicker_->loadStrips(level_);
    showLevelObjectTypes();
    if (!viewport_.HasContext()) {
        texturesPending_ = true; // the GL textures are made once the view has its context
    } else {
        texturesPending_ = false;
        viewPanel_->MakeCurrent();
        BuildLevelTextures(level_);
        scene_.TexturesLoaded = true;
    }
    for (int field = 0; field < TextureFieldCount; ++field) {
        toolBar_->setTextureNumberQuietly(field, texturePicker_->currentTexture);
    }
    for (int field = 0; field < TextureFieldCount; ++field) {
        showTexturePreview(field);
    }
    redraw();
}

void MainWindow::showTexturePreview(int field) {
    const int number = toolBar_->textureNumber(field);
    const uint32_t shown = ClampTextureNumber(level_, number);
    if (static_cast<int>(shown) != number) {
        // the field shows what is previewed
        toolBar_->setTextureNumberQuietly(field, static_cast<int>(shown));
    }
    toolBar_->setTexturePreview(field, QPixmap::fromImage(toQImage(TexturePreview(level_, shown))));
}

} // namespace morvane
