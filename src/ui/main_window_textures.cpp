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

// Sets a spin box without running its change handlers.
void setQuietly(QSpinBox* spin, int value) {
    const bool blocked = spin->blockSignals(true);
    spin->setValue(value);
    spin->blockSignals(blocked);
}

} // namespace

void MainWindow::loadTexturePicker() {
    texturePicker->loadStrips(level_);
    if (!viewport.HasContext()) {
        texturesPending_ = true; // the GL textures are made once the view has its context
    } else {
        texturesPending_ = false;
        viewPanel->MakeCurrent();
        BuildLevelTextures(level_);
        scene.TexturesLoaded = true;
    }
    for (int field = 0; field < TextureFieldCount; ++field) {
        setQuietly(toolBar->textureField(field), texturePicker->currentTexture);
    }
    for (int field = 0; field < TextureFieldCount; ++field) {
        showTexturePreview(field);
    }
    redraw();
}

void MainWindow::showTexturePreview(int field) {
    QSpinBox* number = toolBar->textureField(field);
    const uint32_t shown = ClampTextureNumber(level_, number->value());
    if (static_cast<int>(shown) != number->value()) {
        setQuietly(number, static_cast<int>(shown)); // the field shows what is previewed
    }
    toolBar->texturePreview(field)->setPixmap(
        QPixmap::fromImage(toQImage(TexturePreview(level_, shown))));
}

} // namespace morvane
