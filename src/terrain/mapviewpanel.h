#pragma once
// TMapViewPanel: the map view with its controls, as the main window places
// them: the map window Panel1, the scroll bars, the zoom slider and field, the
// "#", "c", "d", "m" buttons, the category filter boxes and the offset labels.
// It keeps the view state and carries the view's navigation: zoom, scrolling,
// centring, MoveView, the tile layout and the picture shown. The object
// markers and the marks of the current object are its marker layer's.
//
// Operations throw TError (conversion, overflow, file errors); the handlers
// connected to the controls run them through runGuarded, so the error shows in
// the standard error box with the steps already done kept.

#include "document/mapdocument.h"
#include "mapview.h"
#include "markerlayer.h"
#include "terrainfile.h"
#include "viewtransform.h"

#include <QObject>
#include <QString>
#include <array>
#include <functional>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QWidget;
class TDialogs;

class TMapViewPanel : public QObject {
    Q_OBJECT
public:
    // host: the main window, whose children the controls become (client
    // coordinates of a 1000 by 600 window).
    TMapViewPanel(QWidget *host, TMapDocument &document, TDialogs &dialogs);
    ~TMapViewPanel() override;

    TViewState View;
    // Controls, named as the main window's designer names them.
    TMapView *Panel1;
    QPushButton *Button5;   // "#"
    QScrollBar *ScrollBar2; // horizontal scrolling, -2..2
    QScrollBar *ScrollBar3; // vertical scrolling, -2..2
    QFrame *Panel2;
    QLabel *Label14;
    QLabel *Label15;
    QLabel *Label16;
    QLabel *Label17;
    QLineEdit *E_Zoom;
    QScrollBar *ScrollBar1; // zoom, 1..50
    QPushButton *Button2;   // "c"
    QPushButton *Button3;   // "d"
    QPushButton *Button4;   // "m"
    QCheckBox *C_10;
    QCheckBox *C_20;
    QCheckBox *C_30;
    QCheckBox *C_40;
    QCheckBox *C_50;
    QCheckBox *C_60;
    QCheckBox *C_70;
    QLabel *Label1; // "Local_x"
    QLabel *Label2; // "Local_y"
    QLabel *Label4; // "KZ_x"
    QLabel *Label5; // "KZ_y"

    // The filter box of each category, in the order of Categories.
    std::array<QCheckBox *, 7> categoryBoxes() const { return {C_10, C_20, C_30, C_40, C_50, C_60, C_70}; }

    // The markers (Markers[row] for table rows 1 .. 2000) and the marks of
    // the current object.
    TMarkerLayer Markers;

    // The terrain whose colour, elevation and detail maps "c", "d" and "m"
    // show (the main window's, so pictures chosen in the Save Map dialog count).
    const TTerrain *Terrain = nullptr;

    // The controls a loaded map enables and Reset disables: Button2 to
    // Button5, the three scroll bars and Work_maske.
    void setMapControlsEnabled(bool enabled);

    // Moves the view by (-dx, -dy) window pixels and the overlay with it.
    // Full (or with a zoom direction): every marker takes its place from the
    // position cache; otherwise only markers whose new place lies in the band
    // around the window move (a scroll step).
    void MoveView(std::int32_t dx, std::int32_t dy, bool full, int zoomDirection);
    // Tiles of Zoom * 512 pixels placed from the offsets.
    void LayoutTiles();
    // Decodes the PCX file at path and shows it in all four tiles; on failure
    // (TError) the tiles keep their picture.
    void ShowMapFile(const QString &path);
    void setPicture(const QImage &picture);
    void clearPicture();

    // After the journal put the document back: the markers follow the
    // document (Markers.follow()) and take their places in the view as it
    // stands; the selection marks, if shown, stand on the current object.
    void followDocument();

    // The view's part of Reset: offsets 0, Zoom 1 and the zoom slider at 1
    // (without running the zoom step), tiles at their start places, no
    // markers, no picture, the selection and measuring marks hidden, the
    // drawing layer cleared.
    void resetView();
    // The centring after a load: offsets from the mean of the objects'
    // positions, every marker repositioned, the tiles laid out.
    void centreOnObjects();

    // The pointer readouts: window pixel and the game position under it;
    // "outside the terrain" in the map's corner while the pointer is over one
    // of the dimmed copies beyond the terrain's edge.
    void showPointerReadout(QPoint point);

    // F: the whole terrain in the window, at the largest zoom that shows it
    // all (zoom 1, the terrain's corner on the window's).
    void fitTerrain();
    // Shift+F: the largest zoom at which the selected objects' markers all
    // fit into the window with a margin, centred on them; nothing without a
    // selection. Neither is a change of the map.
    void zoomToSelection();
    // Zoom, offsets, tiles, markers and circles for a view chosen whole: the
    // zoom slider and its field follow, the measuring circle hides when the
    // zoom changes, a shown radius circle takes the new zoom's size.
    void showArea(std::int32_t zoom, std::int32_t offsetX, std::int32_t offsetY);

    // The wheel over the map: every 120 eighths of a degree (smaller turns
    // add up) move ScrollBar1 one step, in when turned away from the user,
    // and the offsets then keep the map point under `point` where it was.
    // The readouts show that point afterwards.
    void wheelZoom(int angle, QPoint point);
    // One step of ScrollBar1 (direction +1 in, -1 out) about `point`; none
    // beyond the zoom's range.
    void zoomAtPoint(int direction, QPoint point);
    // Drags the map by `delta` window pixels: the tiles wrap as when
    // scrolling, markers and circles follow, Label1 and Label2 show the offsets.
    void panBy(QPoint delta);

public slots:
    // Zoom: runs whenever ScrollBar1's position changes.
    void ScrollBar1Change();
    // Scrolling, one step of 64 window pixels per scroll bar position.
    void ScrollBar2Change();
    void ScrollBar3Change();
    // "c", "d", "m": the colour, elevation or detail map.
    void Button2Click();
    void Button3Click();
    void Button4Click();
    // "#": centre the view on the current object.
    void Button5Click();
    // Any category box: shows or hides the markers of every category.
    void C_10Click();

private:
    void zoomStep();
    void mapKey(int key, Qt::KeyboardModifiers modifiers);
    void scrollStep(TScrollAxis axis, QScrollBar *bar);
    void showOffsets();
    void guarded(const std::function<void()> &command);

    QWidget *m_host;
    TMapDocument &m_document;
    TDialogs &m_dialogs;
    int m_wheelAngle = 0; // turned but not yet a whole notch
};
