#include "ui/unit3d_1.h"

#include "build/build_pipeline.h"
#include "document/editor_texts.h"
#include "document/portal_views.h"
#include "document/project_file.h"
#include "io/binary_reader.h"
#include "io/io_error.h"
#include "level/level_reader.h"
#include "ui/Unit3d_2.h"
#include "ui/Unit3d_3.h"
#include "ui/Unit3d_7.h"
#include "ui/gl_panel.h"
#include "ui/unit3d_4.h"
#include "ui/unit3d_6.h"
#include "ui/unit3d_8.h"
#include "view/texture_upload.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>

namespace morvane {

namespace {

constexpr const char* InitialCaption = "Quillon's Morvane3D";
constexpr const char* FileNotFoundText = " File not Found! ";

QPixmap PreviewPixmap(const RgbImage& image) {
    QImage out(image.Width, image.Height, QImage::Format_RGB888);
    for (int y = 0; y < image.Height; ++y) {
        std::copy_n(image.At(0, y), image.Width * 3, out.scanLine(y));
    }
    return QPixmap::fromImage(out);
}

// Sets a spin box without running its change handlers.
void SetQuietly(QSpinBox* spin, int value) {
    const bool blocked = spin->blockSignals(true);
    spin->setValue(value);
    spin->blockSignals(blocked);
}

} // namespace

TForm1::TForm1(TEditorProject& project, TLevelData& level, UiServices& services,
               std::string programFolder)
    : project_(project), level_(level), services_(services),
      programFolder_(std::move(programFolder)) {
    setObjectName("TForm1");
    setWindowTitle(InitialCaption);
    resize(1000, 720);

    // The 3D view: viewport, scene and camera; picks only through the sector tools.
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 0);
    auto* top = new QHBoxLayout();
    auto* heightBox = new QGroupBox("Height Selector", central);
    auto* heightLayout = new QHBoxLayout(heightBox);
    Label1 = new QLabel("1", heightBox);
    Label1->setObjectName("Label1");
    heightLayout->addWidget(Label1);
    auto* roomBox = new QGroupBox("Current Room", central);
    auto* roomLayout = new QHBoxLayout(roomBox);
    Label2 = new QLabel("None", roomBox);
    Label2->setObjectName("Label2");
    roomLayout->addWidget(Label2);
    heightBox->setFixedWidth(130);
    roomBox->setMinimumWidth(260);
    top->addWidget(heightBox);
    top->addWidget(roomBox);
    top->addStretch();
    layout->addLayout(top);
    Panel1 = new GLPanel(Viewport, central);
    layout->addWidget(Panel1, 1);
    setCentralWidget(central);
    StatusPanel = new QLabel(this);
    StatusPanel->setObjectName("StatusPanel1");
    StatusPanel->setMinimumWidth(50);
    statusBar()->addWidget(StatusPanel);

    Viewport.DrawCallback = [this] { Scene.Render(); };
    Viewport.SetCamera(&Camera);
    Viewport.PickOnClickDisabled = true;
    Viewport.PreviousMouseDown = [this](ShiftState shift, int x, int y) {
        Guard([&] { Panel1MouseDown(shift, x, y); });
    };
    Scene.RenderMode = RenderWireframe;
    Scene.SolidTexture = SolidTextureName;
    Scene.Project = &project_;
    Scene.DrawnRoom = 1;
    Scene.NeighbourRoom = 0;
    Scene.HeightSelector = 0;
    project_.Clear();
    Panel1->OnContextReady = [this](bool attached, const std::string& problem) {
        if (!attached) {
            services_.ShowMessage(this, QString::fromStdString(problem));
            return;
        }
        const std::string message = LoadSolidTexture(programFolder_ + "/solid.bmp");
        if (!message.empty()) {
            services_.ShowMessage(this, QString::fromStdString(message));
        }
        if (texturesPending_) {
            LoadTexturePicker();
        }
    };

    ToolBar = new TForm2(this);
    AddRoomDialog = new TForm3(this);
    WarningDialog = new TForm4(this);
    AboutDialog = new TForm5(this);
    KeysGuideDialog = new TForm6(this);
    BuildDialog = new TForm7(services_, this);
    TexturesWindow = new TForm8(this);
    connect(TexturesWindow, &TForm8::TextureChosen, this, [this](int field, int number) {
        QSpinBox* fields[4] = {ToolBar->SpinEdit1, ToolBar->SpinEdit2, ToolBar->SpinEdit3,
                               ToolBar->SpinEdit4};
        fields[field]->setValue(number);
    });

    CreateMenus();
    WireToolBar();
    Recent.Load(RecentListPath());
    RefreshRecentMenu();
}

TForm1::~TForm1() = default;

std::string TForm1::RecentListPath() const {
    return programFolder_ + "/" + RecentFilesName;
}

QAction* TForm1::Action(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

void TForm1::Guard(const std::function<void()>& command) {
    try {
        command();
    } catch (const IoError& e) {
        services_.ShowMessage(this, e.what());
    }
}

void TForm1::CreateMenus() {
    auto add = [this](QMenu* menu, const char* name, const char* text, const QKeySequence& keys,
                      std::function<void()> command) {
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        if (!keys.isEmpty()) {
            action->setShortcut(keys);
        }
        connect(action, &QAction::triggered, this, [this, command] { Guard(command); });
        return action;
    };
    FileMenu = menuBar()->addMenu("&File");
    add(FileMenu, "New1", "&New", {}, [this] { New1Click(); });
    add(FileMenu, "Open1", "&Open", QKeySequence(Qt::Key_F3), [this] { Open1Click(); });
    add(FileMenu, "Save1", "&Save", QKeySequence("Ctrl+S"), [this] { Save1Click(); });
    add(FileMenu, "SaveAs1", "Save &As...", {}, [this] { SaveAs1Click(); });
    FileMenu->addSeparator();
    add(FileMenu, "OpenBase1", "Open &Base", QKeySequence("Ctrl+B"), [this] { OpenBase1Click(); });
    add(FileMenu, "BuildLevel1", "Build &Level", QKeySequence(Qt::Key_F10),
        [this] { BuildLevel1Click(); });
    FileMenu->addSeparator();
    add(FileMenu, "Exit1", "&Exit", {}, [this] { close(); });

    QMenu* rooms = menuBar()->addMenu("&Rooms");
    add(rooms, "AddRoom1", "&Add Room", QKeySequence("Shift+Ins"),
        [this] { ToolBar->SpeedButton19->click(); });
    add(rooms, "EditProperties1", "&Edit Properties", QKeySequence("Ctrl+Ins"),
        [this] { ToolBar->SpeedButton20->click(); });
    add(rooms, "DeleteRoom1", "&Delete Room", QKeySequence("Ctrl+Del"),
        [this] { ToolBar->SpeedButton21->click(); });
    add(rooms, "CloneRoom1", "&Clone Room", QKeySequence("Ctrl+C"),
        [this] { ToolBar->SpeedButton22->click(); });
    rooms->addSeparator();
    const std::pair<const char*, SendDirection> sends[] = {
        {"Send to &Front", SendDirection::Front}, {"Send to &Back", SendDirection::Back},
        {"Send to &Left", SendDirection::Left},   {"Send to &Right", SendDirection::Right},
        {"Send to &Down", SendDirection::Down},   {"Send to &Up", SendDirection::Up}};
    int n = 1;
    for (const auto& [text, direction] : sends) {
        const std::string name = "SendTo" + std::to_string(n++);
        const SendDirection d = direction;
        add(rooms, name.c_str(), text, {}, [this, d] { SendTo(d); });
    }
    rooms->addSeparator();
    add(rooms, "ShowToolsbar1", "&Show Tools bar", {}, [this] {
        ToolBar->show();
        ToolBar->raise();
    });
    QMenu* textures = menuBar()->addMenu("&Textures");
    add(textures, "ShowTextures1", "&Show Textures", QKeySequence("Ctrl+T"), [this] {
        TexturesWindow->show();
        TexturesWindow->raise();
    });
    QMenu* help = menuBar()->addMenu("&Help");
    add(help, "KeysGuide1", "&Keys Guide", QKeySequence(Qt::Key_F1), [this] {
        services_.RunModal(*KeysGuideDialog);
        Viewport.Paint();
    });
    add(help, "About1", "&About...", {}, [this] {
        services_.RunModal(*AboutDialog);
        Viewport.Paint();
    });
}

void TForm1::WireToolBar() {
    TForm2* t = ToolBar;
    connect(t->SpeedButton19, &QPushButton::clicked, this,
            [this] { Guard([this] { AddRoomClick(); }); });
    connect(t->SpeedButton20, &QPushButton::clicked, this,
            [this] { Guard([this] { PropertiesClick(); }); });
    connect(t->SpeedButton21, &QPushButton::clicked, this,
            [this] { Guard([this] { DeleteRoomClick(); }); });
    connect(t->SpeedButton22, &QPushButton::clicked, this,
            [this] { Guard([this] { CloneRoomClick(); }); });
    connect(t->Button4, &QPushButton::clicked, this, [this] { CenterCameraClick(); });

    const std::pair<QRadioButton*, uint8_t> modes[] = {{t->RadioButton3, RenderWireframe},
                                                       {t->RadioButton4, RenderSolid},
                                                       {t->RadioButton5, RenderTextured}};
    for (const auto& [button, mode] : modes) {
        const uint8_t m = mode;
        connect(button, &QRadioButton::toggled, this, [this, m](bool on) {
            if (on) {
                Scene.RenderMode = m;
                Redraw();
            }
        });
    }
    connect(t->ListBox2, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        ApplyOutcome(SelectRoom(project_, Scene, ToolBar->ListBox2->row(item)));
    });
    auto position = [this](std::function<void(TEditorRoom&, int)> store) {
        return [this, store](int value) {
            if (!refreshing_ && project_.HasCurrentRoom()) {
                store(project_.Current(), value);
                Redraw();
            }
        };
    };
    connect(t->SpinEdit5, &QSpinBox::valueChanged, this,
            position([](TEditorRoom& r, int v) { r.PosX = v; }));
    connect(t->SpinEdit6, &QSpinBox::valueChanged, this,
            position([](TEditorRoom& r, int v) { r.PosY = static_cast<uint8_t>(v); }));
    connect(t->SpinEdit7, &QSpinBox::valueChanged, this,
            position([](TEditorRoom& r, int v) { r.PosZ = v; }));
    connect(t->SpinEdit11, &QSpinBox::valueChanged, this, [this](int value) {
        if (!ToolBar->CheckBox1->isChecked()) {
            Scene.NeighbourRoom = value;
            Redraw();
        }
    });
    connect(t->CheckBox1, &QCheckBox::toggled, this, [this](bool only) {
        Scene.NeighbourRoom = only ? 0 : ToolBar->SpinEdit11->value();
        Redraw();
    });

    // "Room Side" is kept apart from "Room Above" and "Room Below".
    connect(t->SpinEdit13, &QSpinBox::valueChanged, this, [t](int v) {
        if (v > 0) {
            t->SpinEdit14->setValue(0);
        }
    });
    connect(t->SpinEdit14, &QSpinBox::valueChanged, this, [t](int v) {
        if (v > 0) {
            t->SpinEdit13->setValue(0);
            t->SpinEdit15->setValue(0);
        }
    });
    connect(t->SpinEdit15, &QSpinBox::valueChanged, this, [t](int v) {
        if (v > 0) {
            t->SpinEdit14->setValue(0);
        }
    });

    QSpinBox* textureFields[4] = {t->SpinEdit1, t->SpinEdit2, t->SpinEdit3, t->SpinEdit4};
    for (int field = 0; field < 4; ++field) {
        connect(textureFields[field], &QSpinBox::valueChanged, this,
                [this, field] { ShowTexturePreview(field); });
    }

    auto fields = [t] {
        return PortalViewFields{t->SpinEdit9->value(), t->SpinEdit8->value(),
                                t->SpinEdit10->value(), t->ComboBox1->currentIndex()};
    };
    connect(t->Button1, &QPushButton::clicked, this,
            [this, fields] { ApplyOutcome(AddPortalView(project_, fields())); });
    connect(t->Button2, &QPushButton::clicked, this, [this, fields] {
        ApplyOutcome(ReplacePortalView(project_, ToolBar->ListBox1->currentRow() + 1, fields()));
    });
    connect(t->Button3, &QPushButton::clicked, this,
            [this] { ApplyOutcome(DeletePortalView(project_)); });
    connect(t->CheckBox5, &QCheckBox::toggled, this, [this](bool hide) {
        Scene.HidePortals = hide;
        Redraw();
    });
    connect(t->ListBox1, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const PortalViewFields f = PortalViewFieldsOf(project_, ToolBar->ListBox1->row(item) + 1);
        ToolBar->SpinEdit9->setValue(f.Room);
        ToolBar->SpinEdit8->setValue(f.Width);
        ToolBar->SpinEdit10->setValue(f.Height);
        ToolBar->ComboBox1->setCurrentIndex(std::clamp(f.FacingIndex, 0, 5));
    });
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    ToolBar->show();
}

// Closing the main window ends the program: its tool windows go with it.
void TForm1::closeEvent(QCloseEvent* event) {
    ToolBar->close();
    TexturesWindow->close();
    QMainWindow::closeEvent(event);
}

void TForm1::Redraw() {
    Viewport.Redraw();
}

void TForm1::ApplyOutcome(const DocumentOutcome& outcome) {
    if (!outcome.Message.empty()) {
        services_.ShowMessage(this, QString::fromStdString(outcome.Message));
    }
    if (outcome.ToolBar) {
        RefreshToolBar(*outcome.ToolBar);
    }
    if (outcome.PortalList) {
        ToolBar->ListBox1->clear();
        for (const std::string& entry : outcome.PortalList->Entries) {
            ToolBar->ListBox1->addItem(QString::fromStdString(entry));
        }
        ToolBar->ListBox1->setCurrentRow(outcome.PortalList->Selected);
    }
    if (outcome.NeighbourField) {
        ToolBar->SpinEdit11->setValue(*outcome.NeighbourField);
    }
    if (outcome.FrameRoom) {
        Scene.FrameCurrentRoom();
        Viewport.FitToFigure(Scene);
        Viewport.CenterCamera();
    }
    if (outcome.Redraw || outcome.FrameRoom) {
        Redraw();
    }
}

void TForm1::RefreshToolBar(const ToolBarView& view) {
    refreshing_ = true;
    TForm2* t = ToolBar;
    t->ListBox2->clear();
    for (const std::string& name : view.RoomList) {
        t->ListBox2->addItem(QString::fromStdString(name));
    }
    t->ListBox2->setCurrentRow(view.SelectedRoom);
    Label2->setText(QString::fromStdString(view.CurrentRoomLabel));
    t->SpinEdit5->setValue(view.PosX);
    t->SpinEdit6->setValue(view.PosY);
    t->SpinEdit7->setValue(view.PosZ);
    t->ListBox1->clear();
    for (const std::string& entry : view.PortalViewList) {
        t->ListBox1->addItem(QString::fromStdString(entry));
    }
    t->ListBox1->setCurrentRow(view.SelectedPortalView);
    t->SpinEdit9->setValue(view.PortalRoom);
    t->SpinEdit8->setValue(view.PortalWidth);
    t->SpinEdit10->setValue(view.PortalHeight);
    if (view.PortalFacingIndex) {
        t->ComboBox1->setCurrentIndex(std::clamp(*view.PortalFacingIndex, 0, 5));
    }
    refreshing_ = false;
}

// ---- files ------------------------------------------------------------------------------------

void TForm1::New1Click() {
    BusyCursor busy(services_);
    ApplyOutcome(NewProject(project_, Scene));
    Label1->setText("1");
    setWindowTitle(CaptionNew);
    FileName.clear();
    Redraw();
}

void TForm1::Open1Click() {
    const auto path = services_.AskOpenFile(this, FileDialogs::OpenProject());
    if (!path) {
        return;
    }
    BusyCursor busy(services_);
    OpenProjectFile(*path);
}

void TForm1::OpenProjectFile(const QString& path) {
    const QString previous = FileName;
    FileName = path;
    try {
        const OpenProjectOutcome opened = OpenProject(project_, Scene, path.toStdString());
        if (!opened.Message.empty()) {
            FileName = previous;
            services_.ShowMessage(this, QString::fromStdString(opened.Message));
        } else {
            RefreshToolBar(*opened.Window.ToolBar);
            ToolBar->SpinEdit11->setValue(0);
            Label1->setText("1");
            setWindowTitle(QString::fromStdString(opened.Caption));
            BuildDialog->SetSettings(opened.Settings);
            if (opened.BaseLevelToRead) {
                ReadLevelFile(level_, *opened.BaseLevelToRead);
                level_.LastBaseLevelName = *opened.BaseLevelToRead;
                LoadTexturePicker();
            }
            RememberRecent(path);
        }
    } catch (const IoError&) {
        FileName = previous;
        CenterCameraClick();
        throw;
    }
    CenterCameraClick();
}

void TForm1::OpenRecentFile(int index) {
    if (index < 0 || index >= static_cast<int>(Recent.Paths().size())) {
        return;
    }
    const QString path = QString::fromStdString(Recent.Paths()[index]);
    if (!FileExists(path.toStdString())) {
        services_.ShowMessage(this, FileNotFoundText);
        return;
    }
    OpenProjectFile(path);
}

void TForm1::Save(const QString& path) {
    BusyCursor busy(services_);
    const std::string caption = SaveProject(project_, BuildDialog->Settings(), path.toStdString());
    FileName = path;
    setWindowTitle(QString::fromStdString(caption));
    RememberRecent(path);
}

void TForm1::Save1Click() {
    if (FileName.isEmpty()) {
        const auto path = services_.AskSaveFile(this, FileDialogs::SaveProject());
        if (!path) {
            return;
        }
        FileName = *path;
    }
    Save(FileName);
}

void TForm1::SaveAs1Click() {
    const auto path = services_.AskSaveFile(this, FileDialogs::SaveProject());
    if (path) {
        Save(*path);
    }
}

void TForm1::RememberRecent(const QString& path) {
    Recent.Remember(path.toStdString());
    try {
        Recent.Save(RecentListPath());
    } catch (const IoError&) {
        // A program folder that cannot be written keeps the list for this run only.
    }
    RefreshRecentMenu();
}

void TForm1::RefreshRecentMenu() {
    const auto& paths = Recent.Paths();
    if (recentSeparator_ == nullptr) {
        recentSeparator_ = FileMenu->addSeparator();
    }
    while (recentActions_.size() < paths.size()) {
        const int index = static_cast<int>(recentActions_.size());
        QAction* action = FileMenu->addAction("");
        action->setObjectName(QString("Recent%1").arg(index + 1));
        connect(action, &QAction::triggered, this,
                [this, index] { Guard([this, index] { OpenRecentFile(index); }); });
        recentActions_.push_back(action);
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        recentActions_[i]->setText(
            QString("&%1 %2").arg(i + 1).arg(QString::fromStdString(paths[i])));
    }
}

void TForm1::OpenBase1Click() {
    const auto path = services_.AskOpenFile(this, FileDialogs::OpenLevel());
    if (!path) {
        return;
    }
    Redraw();
    BusyCursor busy(services_);
    const std::string message = OpenBaseLevel(level_, path->toStdString());
    BuildDialog->Edit3->setText(*path);
    if (!message.empty()) {
        services_.ShowMessage(this, QString::fromStdString(message));
    }
    LoadTexturePicker();
}

void TForm1::BuildLevel1Click() {
    if (services_.RunModal(*BuildDialog) != QDialog::Accepted) {
        return;
    }
    Redraw();
    BusyCursor busy(services_);
    const BuildSettings s = BuildDialog->Settings();
    const BuildResult result = BuildLevel(
        project_, level_,
        {s.BaseLevelFile, s.OutputLevelFile, s.ItemsTableFile, s.MeshesFile, s.ScriptFile},
        programFolder_, Script);
    if (result.BaseLevelRead) {
        LoadTexturePicker();
    }
    for (const std::string& message : result.Messages) {
        services_.ShowMessage(this, QString::fromStdString(message));
    }
}

void TForm1::SetRenderMode(uint8_t mode) {
    QRadioButton* button = mode == RenderSolid      ? ToolBar->RadioButton4
                           : mode == RenderTextured ? ToolBar->RadioButton5
                                                    : ToolBar->RadioButton3;
    button->setChecked(true);
}

// ---- rooms ------------------------------------------------------------------------------------

void TForm1::AddRoomClick() {
    if (ProjectIsFull(project_)) {
        services_.ShowMessage(this, TooManyRoomsText);
        return;
    }
    AddRoomDialog->SetName(QString::fromStdString(NextRoomName(project_)));
    if (services_.RunModal(*AddRoomDialog) != QDialog::Accepted) {
        return;
    }
    ApplyOutcome(AddRoom(project_, Scene, AddRoomDialog->Values()));
}

void TForm1::PropertiesClick() {
    if (!project_.HasCurrentRoom()) {
        return;
    }
    const RoomDialogValues shown = PropertiesDialogValues(project_);
    AddRoomDialog->SetValues(shown);
    AddRoomDialog->BeginProperties();
    if (services_.RunModal(*AddRoomDialog) == QDialog::Accepted) {
        const RoomDialogValues edited = AddRoomDialog->Values();
        const PropertiesOutcome applied =
            ApplyRoomProperties(project_, shown, edited, AddRoomDialog->RebuildTicked());
        ApplyOutcome(applied.Window);
        if (applied.AskRebuild && services_.RunModal(*WarningDialog) == QDialog::Accepted) {
            ApplyOutcome(RebuildCurrentRoom(project_, edited));
        }
    }
    AddRoomDialog->EndProperties();
}

void TForm1::DeleteRoomClick() {
    ApplyOutcome(DeleteRoom(project_, Scene));
}

void TForm1::CloneRoomClick() {
    ApplyOutcome(CloneRoom(project_));
}

void TForm1::SendTo(SendDirection direction) {
    ApplyOutcome(SendRoomTo(project_, direction, ToolBar->SpinEdit11->value()));
}

void TForm1::CenterCameraClick() {
    Scene.FrameCurrentRoom();
    Viewport.FitToFigure(Scene);
    Viewport.CenterCamera();
    Redraw();
}

// ---- the view's tools ---------------------------------------------------------------------------

SectorToolState TForm1::ToolState() const {
    const TForm2* t = ToolBar;
    SectorToolState tools;
    tools.SelectedShape = t->SelectedShape;
    tools.ShapeMirror = t->ShapeMirror;
    tools.ReplicationCount = t->SpinEdit12->value();
    tools.PutShapes = t->CheckBox2->isChecked();
    tools.PutTextures = t->CheckBox3->isChecked();
    tools.PutPortals = t->CheckBox4->isChecked();
    tools.FloorTexture = t->SpinEdit1->value();
    tools.FloorWalls = t->SpinEdit2->value();
    tools.CeilingTexture = t->SpinEdit3->value();
    tools.CeilingWalls = t->SpinEdit4->value();
    tools.SetRoomAbove(t->SpinEdit13->value());
    tools.SetRoomSide(t->SpinEdit14->value());
    tools.SetRoomBelow(t->SpinEdit15->value());
    return tools;
}

void TForm1::Panel1MouseDown(ShiftState shift, int, int) {
    if (!shift.Left) {
        return;
    }
    Viewport.Pick();
    if (shift.Alt) {
        ApplyOutcome(
            PortalOriginClick(project_, Viewport.PickedName, ToolBar->ListBox1->currentRow() + 1));
        return;
    }
    ApplyOutcome(
        EditClick(project_, Scene, ToolState(), Viewport.PickedName, shift.Ctrl, shift.Shift));
}

void TForm1::ReadSectorUnderMouse() {
    Viewport.Pick();
    SectorToolState tools = ToolState();
    const ReadSectorOutcome read = ReadSector(project_, Viewport.PickedName, tools);
    if (!read.Read) {
        return;
    }
    StatusPanel->setText(QString::fromStdString(read.StatusText));
    TForm2* t = ToolBar;
    t->SpinEdit1->setValue(tools.FloorTexture);
    t->SpinEdit2->setValue(tools.FloorWalls);
    t->SpinEdit3->setValue(tools.CeilingTexture);
    t->SpinEdit4->setValue(tools.CeilingWalls);
    t->SpinEdit13->setValue(tools.RoomAbove());
    t->SpinEdit14->setValue(tools.RoomSide());
    t->SpinEdit15->setValue(tools.RoomBelow());
}

void TForm1::StepHeightSelector(int step) {
    Scene.HeightSelector += step;
    Redraw(); // the scene keeps the selector inside the drawn room
    ClampHeightSelector(Scene, project_);
    Label1->setText(QString::number(Scene.HeightSelector + 1));
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
        StepHeightSelector(1);
        break;
    case Qt::Key_Down:
        StepHeightSelector(-1);
        break;
    case Qt::Key_Space:
        ReadSectorUnderMouse();
        break;
    default:
        QMainWindow::keyPressEvent(event);
    }
}

// ---- textures ---------------------------------------------------------------------------------

void TForm1::LoadTexturePicker() {
    TexturesWindow->LoadStrips(level_);
    if (!Viewport.HasContext()) {
        texturesPending_ = true; // the GL textures are made once the view has its context
    } else {
        texturesPending_ = false;
        Panel1->MakeCurrent();
        BuildLevelTextures(level_);
        Scene.TexturesLoaded = true;
    }
    for (QSpinBox* field :
         {ToolBar->SpinEdit1, ToolBar->SpinEdit2, ToolBar->SpinEdit3, ToolBar->SpinEdit4}) {
        SetQuietly(field, TexturesWindow->CurrentTexture);
    }
    for (int field = 0; field < 4; ++field) {
        ShowTexturePreview(field);
    }
    Redraw();
}

void TForm1::ShowTexturePreview(int field) {
    QSpinBox* fields[4] = {ToolBar->SpinEdit1, ToolBar->SpinEdit2, ToolBar->SpinEdit3,
                           ToolBar->SpinEdit4};
    QLabel* images[4] = {ToolBar->Image1, ToolBar->Image2, ToolBar->Image3, ToolBar->Image4};
    const uint32_t number = ClampTextureNumber(level_, fields[field]->value());
    if (static_cast<int>(number) != fields[field]->value()) {
        SetQuietly(fields[field], static_cast<int>(number)); // the field shows what is previewed
    }
    images[field]->setPixmap(PreviewPixmap(TexturePreview(level_, number)));
}

} // namespace morvane
