// GControl and its placement: a control is an element over the map, at an offset in pixels from
// one of the map's corners. Takes the geometry's GSize.
function controlModule(geometry) {
  var GSize = geometry.GSize;

  var G_ANCHOR_TOP_RIGHT = 0;
  var G_ANCHOR_TOP_LEFT = 1;
  var G_ANCHOR_BOTTOM_RIGHT = 2;
  var G_ANCHOR_BOTTOM_LEFT = 3;

  // `anchor` is one of the G_ANCHOR_ corners; `offset` a GSize from that corner.
  function GControlPosition(anchor, offset) {
    this.anchor = anchor;
    this.offset = offset;
  }

  // The base of every control. initialize(map) makes the control's element, puts it into
  // map.getContainer() and returns it; getDefaultPosition() says where it goes.
  function GControl() {}
  GControl.prototype.initialize = function () {
    return null;
  };
  GControl.prototype.getDefaultPosition = function () {
    return new GControlPosition(G_ANCHOR_TOP_LEFT, new GSize(7, 7));
  };

  // Above the map's panes, where Leaflet keeps its own controls.
  var CONTROL_Z_INDEX = 800;

  function placeControl(element, position) {
    if (!element || !position) return;
    var offset = position.offset || new GSize(0, 0);
    var style = element.style;
    style.position = "absolute";
    style.zIndex = CONTROL_Z_INDEX;
    var anchor = position.anchor;
    var right = anchor === G_ANCHOR_TOP_RIGHT || anchor === G_ANCHOR_BOTTOM_RIGHT;
    var bottom = anchor === G_ANCHOR_BOTTOM_RIGHT || anchor === G_ANCHOR_BOTTOM_LEFT;
    style[right ? "right" : "left"] = offset.width + "px";
    style[bottom ? "bottom" : "top"] = offset.height + "px";
    // Clicks and drags on a control stay with it and do not move the map.
    L.DomEvent.disableClickPropagation(element);
    L.DomEvent.disableScrollPropagation(element);
  }

  return {
    G_ANCHOR_TOP_RIGHT: G_ANCHOR_TOP_RIGHT,
    G_ANCHOR_TOP_LEFT: G_ANCHOR_TOP_LEFT,
    G_ANCHOR_BOTTOM_RIGHT: G_ANCHOR_BOTTOM_RIGHT,
    G_ANCHOR_BOTTOM_LEFT: G_ANCHOR_BOTTOM_LEFT,
    GControlPosition: GControlPosition,
    GControl: GControl,
    placeControl: placeControl,
  };
}
