#pragma once

#include "settings/JobSettings.h"

#include <QSize>

#include <optional>

namespace zorvane {

// The main window's values that the picture operations read and write: the
// main values and the shown resolution estimate.
struct PictureFields
{
    MainValues main;
    int resolution = 0; // pixels per inch

    friend bool operator==(const PictureFields&, const PictureFields&) = default;
};

// What an operation hands back for the window to show.
struct PictureFieldsUpdate
{
    PictureFields fields;
    bool repaint = false; // repaint the whole main window
};

// Each operation takes the window's values as last accepted from its
// fields (the window has already copied its fields into them) and returns
// the values to write back, after which the window repaints when asked to.
// Given no picture size (no picture loaded), they change nothing at all.

// After a successful load: the estimate for the checked ticket type, or the
// old estimate when no type is checked. The window always repaints.
PictureFieldsUpdate fieldsForLoadedPicture(const PictureFields& current, QSize pictureSize);

// A ticket-type radio was clicked: the estimate for that type, whatever the
// radios show.
PictureFieldsUpdate fieldsForTicketType(const PictureFields& current, TicketType clicked,
                                        std::optional<QSize> pictureSize);

// The custom width was edited, or the keep-aspect box clicked: with keep
// aspect the height follows the width; the estimate is the custom width's,
// whichever type is checked.
PictureFieldsUpdate fieldsForCustomWidth(const PictureFields& current,
                                         std::optional<QSize> pictureSize);

// The custom height was edited: with keep aspect the width follows the
// height; the estimate is that of the (possibly new) custom width.
PictureFieldsUpdate fieldsForCustomHeight(const PictureFields& current,
                                          std::optional<QSize> pictureSize);

} // namespace zorvane
