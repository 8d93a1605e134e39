#include "platform/x11/x11_window_system.h"

#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/composite.h>
#include <xcb/shm.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/x11/z_pixmap.h"

namespace kesta {

namespace {

constexpr std::uint32_t kIconicState = 3;  // ICCCM WM_STATE
constexpr int kTreeDepth = 3;              // root → frame → client under reparenting window managers

template <class T>
using Reply = XcbReply<T>;

// The values of a property, or nothing when it is absent or of another format.
template <class T>
std::vector<T> propertyValues(const xcb_get_property_reply_t* reply) {
  if (!reply || reply->type == XCB_ATOM_NONE || reply->format != sizeof(T) * 8) return {};
  const auto* data = static_cast<const T*>(xcb_get_property_value(reply));
  return std::vector<T>(data, data + xcb_get_property_value_length(reply) / int(sizeof(T)));
}

xcb_get_property_cookie_t askProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property,
                                      xcb_atom_t type, std::uint32_t longs = 1024) {
  return xcb_get_property(c, 0, window, property, type, 0, longs);
}

// The requests that describe one window, sent together so that one round
// trip answers them all.
struct Pending {
  xcb_window_t window;
  xcb_get_property_cookie_t wmClass, pid, wmState, netState;
  xcb_get_window_attributes_cookie_t attributes;
  xcb_get_geometry_cookie_t geometry;
  xcb_translate_coordinates_cookie_t origin;
};

Pending ask(X11Connection& x, xcb_window_t window) {
  xcb_connection_t* c = x.raw();
  return {window,
          askProperty(c, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING),
          askProperty(c, window, x.atom("_NET_WM_PID"), XCB_ATOM_CARDINAL),
          askProperty(c, window, x.atom("WM_STATE"), x.atom("WM_STATE")),
          askProperty(c, window, x.atom("_NET_WM_STATE"), XCB_ATOM_ATOM),
          xcb_get_window_attributes(c, window),
          xcb_get_geometry(c, window),
          xcb_translate_coordinates(c, window, x.root(), 0, 0)};
}

// The window described, or nothing when it vanished, takes no part in the
// desktop (input-only, override-redirect) or names no class.
std::optional<WindowInfo> answer(X11Connection& x, const Pending& p) {
  xcb_connection_t* c = x.raw();
  Reply<xcb_get_property_reply_t> wmClass(xcb_get_property_reply(c, p.wmClass, nullptr));
  Reply<xcb_get_property_reply_t> pid(xcb_get_property_reply(c, p.pid, nullptr));
  Reply<xcb_get_property_reply_t> wmState(xcb_get_property_reply(c, p.wmState, nullptr));
  Reply<xcb_get_property_reply_t> netState(xcb_get_property_reply(c, p.netState, nullptr));
  Reply<xcb_get_window_attributes_reply_t> attributes(
      xcb_get_window_attributes_reply(c, p.attributes, nullptr));
  Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, p.geometry, nullptr));
  Reply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(c, p.origin, nullptr));
  if (!attributes || !geometry || !origin) return std::nullopt;
  if (attributes->_class == XCB_WINDOW_CLASS_INPUT_ONLY || attributes->override_redirect) return std::nullopt;

  const auto classBytes = propertyValues<char>(wmClass.get());
  if (classBytes.empty()) return std::nullopt;
  // WM_CLASS holds two NUL-terminated strings: instance, then class.
  const std::string both(classBytes.begin(), classBytes.end());
  WindowInfo info;
  info.id = p.window;
  info.instanceName = both.substr(0, both.find('\0'));
  if (const auto second = both.find('\0'); second != std::string::npos) {
    info.className = both.substr(second + 1, both.find('\0', second + 1) - second - 1);
  }
  if (const auto pids = propertyValues<std::uint32_t>(pid.get()); !pids.empty())
    info.pid = std::int32_t(pids[0]);
  info.frame = {double(origin->dst_x), double(origin->dst_y), double(geometry->width),
                double(geometry->height)};
  info.viewable = attributes->map_state == XCB_MAP_STATE_VIEWABLE;
  const auto states = propertyValues<std::uint32_t>(wmState.get());
  const auto netStates = propertyValues<std::uint32_t>(netState.get());
  const xcb_atom_t hidden = x.atom("_NET_WM_STATE_HIDDEN");
  info.minimized = (!states.empty() && states[0] == kIconicState) ||
                   std::find(netStates.begin(), netStates.end(), hidden) != netStates.end();
  return info;
}

std::vector<xcb_window_t> children(X11Connection& x, xcb_window_t window) {
  Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(x.raw(), xcb_query_tree(x.raw(), window), nullptr));
  if (!tree) return {};
  const xcb_window_t* first = xcb_query_tree_children(tree.get());
  return {first, first + xcb_query_tree_children_length(tree.get())};
}

bool hasClass(X11Connection& x, xcb_window_t window) {
  Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
      x.raw(), askProperty(x.raw(), window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0), nullptr));
  return reply && reply->type != XCB_ATOM_NONE;
}

// Without a window manager's list: the windows that carry a class, looked
// for below the root down to the depth at which reparenting managers put them.
void walk(X11Connection& x, xcb_window_t window, int depth, std::vector<xcb_window_t>& out) {
  for (xcb_window_t child : children(x, window)) {
    if (hasClass(x, child)) {
      out.push_back(child);
    } else if (depth > 1) {
      walk(x, child, depth - 1, out);
    }
  }
}

std::optional<PixelChannels> channelsOf(const xcb_screen_t& screen, xcb_visualid_t visual) {
  for (auto depths = xcb_screen_allowed_depths_iterator(&screen); depths.rem; xcb_depth_next(&depths)) {
    for (auto v = xcb_depth_visuals_iterator(depths.data); v.rem; xcb_visualtype_next(&v)) {
      if (v.data->visual_id != visual) continue;
      const auto shift = [](std::uint32_t mask) { return std::countr_zero(mask); };
      const auto eightBits = [](std::uint32_t mask) { return std::popcount(mask) == 8; };
      if (!eightBits(v.data->red_mask) || !eightBits(v.data->green_mask) || !eightBits(v.data->blue_mask)) {
        return std::nullopt;
      }
      return PixelChannels{shift(v.data->red_mask), shift(v.data->green_mask), shift(v.data->blue_mask)};
    }
  }
  return std::nullopt;
}

int bitsPerPixel(const xcb_setup_t* setup, std::uint8_t depth, int& scanlinePad) {
  for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f)) {
    if (f.data->depth == depth) {
      scanlinePad = f.data->scanline_pad;
      return f.data->bits_per_pixel;
    }
  }
  return 0;
}

}  // namespace

struct X11WindowSystem::SharedSegment {
  xcb_connection_t* connection;
  xcb_shm_seg_t id;
  std::uint8_t* memory;
  std::size_t size;

  ~SharedSegment() {
    xcb_shm_detach(connection, id);
    xcb_flush(connection);
    ::shmdt(memory);
  }

  // A segment of at least `size` bytes attached to both sides; absent when
  // the server cannot share memory with this process (it runs elsewhere).
  static std::unique_ptr<SharedSegment> make(X11Connection& x, std::size_t size) {
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(x.raw(), &xcb_shm_id);
    if (!extension || !extension->present) return nullptr;
    const int shmid = ::shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
    if (shmid < 0) return nullptr;
    void* memory = ::shmat(shmid, nullptr, 0);
    if (memory == reinterpret_cast<void*>(-1)) {
      ::shmctl(shmid, IPC_RMID, nullptr);
      return nullptr;
    }
    const xcb_shm_seg_t id = xcb_generate_id(x.raw());
    XcbReply<xcb_generic_error_t> error(
        xcb_request_check(x.raw(), xcb_shm_attach_checked(x.raw(), id, std::uint32_t(shmid), 0)));
    // Once both sides are attached, the segment goes when the last one detaches.
    ::shmctl(shmid, IPC_RMID, nullptr);
    if (error) {
      ::shmdt(memory);
      return nullptr;
    }
    return std::unique_ptr<SharedSegment>(
        new SharedSegment{x.raw(), id, static_cast<std::uint8_t*>(memory), size});
  }
};

X11WindowSystem::X11WindowSystem(std::string displayName) : displayName_(std::move(displayName)) {}

X11WindowSystem::~X11WindowSystem() = default;

X11Connection& X11WindowSystem::connection() {
  if (!connection_ || connection_->broken()) {
    shared_.reset();
    sharedUnusable_ = false;
    connection_.reset();
    composite_.reset();
    redirected_.clear();
    connection_ = std::make_unique<X11Connection>(displayName_);
  }
  return *connection_;
}

std::vector<WindowInfo> X11WindowSystem::windows() {
  X11Connection& x = connection();
  Reply<xcb_get_property_reply_t> list(xcb_get_property_reply(
      x.raw(), askProperty(x.raw(), x.root(), x.atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW, 65536), nullptr));
  if (x.broken()) throw WindowSystemError("the connection to the X display broke");

  std::vector<xcb_window_t> ids;
  if (list && list->type != XCB_ATOM_NONE) {
    ids = propertyValues<xcb_window_t>(list.get());
  } else {
    walk(x, x.root(), kTreeDepth, ids);
  }

  std::vector<Pending> pending;
  pending.reserve(ids.size());
  for (xcb_window_t id : ids) pending.push_back(ask(x, id));
  std::vector<WindowInfo> out;
  for (const Pending& p : pending) {
    if (auto info = answer(x, p)) out.push_back(std::move(*info));
  }
  if (x.broken()) throw WindowSystemError("the connection to the X display broke");
  return out;
}

std::optional<Size> X11WindowSystem::windowSize(std::uint32_t id) {
  if (id == 0) return std::nullopt;
  X11Connection& x = connection();
  Reply<xcb_get_geometry_reply_t> geometry(
      xcb_get_geometry_reply(x.raw(), xcb_get_geometry(x.raw(), id), nullptr));
  if (!geometry) return std::nullopt;
  return Size{double(geometry->width), double(geometry->height)};
}

bool X11WindowSystem::compositeReady() {
  if (!composite_) {
    X11Connection& x = connection();
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(x.raw(), &xcb_composite_id);
    bool ready = extension && extension->present;
    if (ready) {
      // Naming a window's pixmap needs version 0.2.
      Reply<xcb_composite_query_version_reply_t> version(
          xcb_composite_query_version_reply(x.raw(), xcb_composite_query_version(x.raw(), 0, 4), nullptr));
      ready = version && (version->major_version > 0 || version->minor_version >= 2);
    }
    composite_ = ready;
  }
  return *composite_;
}

std::optional<Image> X11WindowSystem::capture(std::uint32_t id) {
  X11Connection& x = connection();
  xcb_connection_t* c = x.raw();
  Reply<xcb_get_window_attributes_reply_t> attributes(
      xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, id), nullptr));
  Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr));
  if (x.broken()) throw WindowSystemError("the connection to the X display broke");
  // A gone window's id may come back as another window's, one never redirected.
  if (!attributes) redirected_.erase(id);
  if (!attributes || !geometry || attributes->map_state != XCB_MAP_STATE_VIEWABLE) return std::nullopt;
  const int width = geometry->width;
  const int height = geometry->height;

  if (compositeReady()) {
    // Once redirected, the window draws into its own pixmap whatever covers
    // it. Parts covered at the moment of redirection hold what was on screen
    // there until the application redraws them, which it does at once.
    if (!redirected_.contains(id)) {
      Reply<xcb_generic_error_t> error(xcb_request_check(
          c, xcb_composite_redirect_window_checked(c, id, XCB_COMPOSITE_REDIRECT_AUTOMATIC)));
      if (!error) redirected_.insert(id);
    }
    if (redirected_.contains(id)) {
      // A named pixmap holds the window's contents at the size it had when it
      // was named, so it is named afresh for every picture.
      const xcb_pixmap_t pixmap = xcb_generate_id(c);
      Reply<xcb_generic_error_t> error(
          xcb_request_check(c, xcb_composite_name_window_pixmap_checked(c, id, pixmap)));
      if (error) {
        // Unmapped or gone meanwhile; a gone window's id may come back as another window's.
        if (error->error_code == XCB_WINDOW || error->error_code == XCB_MATCH) redirected_.erase(id);
        if (error->error_code == XCB_MATCH || error->error_code == XCB_WINDOW) return std::nullopt;
        throw WindowSystemError("the X server refused the window's contents (" + describeXError(*error) +
                                ")");
      }
      auto image = readDrawable(pixmap, attributes->visual, geometry->depth, width, height);
      xcb_free_pixmap(c, pixmap);
      return image;
    }
  }
  return readDrawable(id, attributes->visual, geometry->depth, width, height);
}

std::optional<Image> X11WindowSystem::readDrawable(xcb_drawable_t drawable, xcb_visualid_t visual,
                                                   std::uint8_t depth, int width, int height) {
  X11Connection& x = connection();
  int scanlinePad = 32;
  const int bpp = bitsPerPixel(xcb_get_setup(x.raw()), depth, scanlinePad);
  const auto channels = channelsOf(x.screen(), visual);
  if (bpp != 32 || !channels) {
    throw WindowSystemError("the window's pixel format (depth " + std::to_string(depth) +
                            ") is not supported");
  }
  const std::size_t stride = std::size_t((width * bpp + scanlinePad - 1) / scanlinePad * scanlinePad / 8);
  const std::size_t bytes = stride * std::size_t(height);
  const bool msbFirst = xcb_get_setup(x.raw())->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;

  // What a refused read means: the window went or was unmapped meanwhile, or
  // (without Composite) it reaches past the screen.
  const auto refused = [](const xcb_generic_error_t& error) -> std::optional<Image> {
    if (error.error_code == XCB_DRAWABLE || error.error_code == XCB_WINDOW) return std::nullopt;
    if (error.error_code == XCB_MATCH) {
      throw WindowSystemError(
          "the window reaches past the screen and the X server has no Composite extension");
    }
    throw WindowSystemError("the X server refused the window's pixels (" + describeXError(error) + ")");
  };

  if (!sharedUnusable_ && (!shared_ || shared_->size < bytes)) {
    shared_.reset();
    shared_ = SharedSegment::make(x, bytes);
    sharedUnusable_ = !shared_;
  }
  if (shared_) {
    xcb_generic_error_t* rawError = nullptr;
    XcbReply<xcb_shm_get_image_reply_t> reply(xcb_shm_get_image_reply(
        x.raw(),
        xcb_shm_get_image(x.raw(), drawable, 0, 0, std::uint16_t(width), std::uint16_t(height), ~0u,
                          XCB_IMAGE_FORMAT_Z_PIXMAP, shared_->id, 0),
        &rawError));
    XcbReply<xcb_generic_error_t> error(rawError);
    if (x.broken()) throw WindowSystemError("the connection to the X display broke");
    if (error) return refused(*error);
    return zPixmapToRgba(shared_->memory, stride, width, height, *channels, msbFirst);
  }

  xcb_generic_error_t* rawError = nullptr;
  XcbReply<xcb_get_image_reply_t> reply(
      xcb_get_image_reply(x.raw(),
                          xcb_get_image(x.raw(), XCB_IMAGE_FORMAT_Z_PIXMAP, drawable, 0, 0,
                                        std::uint16_t(width), std::uint16_t(height), ~0u),
                          &rawError));
  XcbReply<xcb_generic_error_t> error(rawError);
  if (x.broken()) throw WindowSystemError("the connection to the X display broke");
  if (error) return refused(*error);
  if (std::size_t(xcb_get_image_data_length(reply.get())) < bytes) {
    throw WindowSystemError("the X server sent a short picture of the window");
  }
  return zPixmapToRgba(xcb_get_image_data(reply.get()), stride, width, height, *channels, msbFirst);
}

bool X11WindowSystem::processRunning(std::string_view name) {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
    const std::string pid = entry.path().filename().string();
    if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream comm(entry.path() / "comm");
    std::string command;
    if (std::getline(comm, command) && command == name) return true;
  }
  return false;
}

}  // namespace kesta
