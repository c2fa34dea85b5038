#include "X11Frame.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace fiscora {

namespace {

struct FreeReply {
    void operator()(void *reply) const { std::free(reply); }
};
template <typename Reply> using XcbReply = std::unique_ptr<Reply, FreeReply>;

} // namespace

std::optional<QRect> X11NativeFrame(const QWindow &window) {
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr)
        return std::nullopt;
    xcb_connection_t *connection = x11->connection();
    const auto id = static_cast<xcb_window_t>(window.winId());

    const XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr));
    if (!geometry)
        return std::nullopt;
    const XcbReply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, id, geometry->root, 0, 0), nullptr));
    static constexpr char kExtentsName[] = "_NET_FRAME_EXTENTS";
    const XcbReply<xcb_intern_atom_reply_t> extentsAtom(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, sizeof kExtentsName - 1, kExtentsName), nullptr));
    if (!origin || !extentsAtom || extentsAtom->atom == XCB_ATOM_NONE)
        return std::nullopt;
    const XcbReply<xcb_get_property_reply_t> extents(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, id, extentsAtom->atom, XCB_ATOM_CARDINAL, 0, 4),
        nullptr));
    if (!extents || extents->format != 32 || xcb_get_property_value_length(extents.get()) != 4 * 4)
        return std::nullopt;
    // Left, right, top, bottom.
    const auto *margin = static_cast<const std::uint32_t *>(xcb_get_property_value(extents.get()));
    const int left = int(margin[0]), right = int(margin[1]), top = int(margin[2]), bottom = int(margin[3]);
    return QRect(origin->dst_x - left, origin->dst_y - top, geometry->width + left + right,
                 geometry->height + top + bottom);
}

} // namespace fiscora
