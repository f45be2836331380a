// GMap2: the map in its container element, drawn by Leaflet.
//
// As with the old API, double-click zoom and the keyboard are off until the page enables them,
// and the wheel does not zoom. Overlays: lines on one canvas under the markers, markers stacked
// by latitude (southern in front). Takes the geometry's GLatLng and GSize, the mercator's
// MAX_ZOOM, clampZoom and boundsZoomLevel, the tiles' map types and background, and the
// control's placeControl.
function mapModule(geometry, mercator, tiles, control) {
  var GLatLng = geometry.GLatLng;
  var GSize = geometry.GSize;
  var MAX_ZOOM = mercator.MAX_ZOOM;
  var clampZoom = mercator.clampZoom;
  var boundsZoomLevel = mercator.boundsZoomLevel;
  var MAP_TYPES = tiles.MAP_TYPES;
  var BACKGROUND_COLOR = tiles.BACKGROUND_COLOR;
  var placeControl = control.placeControl;

  var SCALE_ROOM = 130; // pixels at the bottom left that the scale needs

  function GMap2(container) {
    this._container = container;
    container.style.background = BACKGROUND_COLOR;
    this._leaflet = L.map(container, {
      zoomControl: false,
      attributionControl: false,
      doubleClickZoom: false,
      scrollWheelZoom: false,
      keyboard: false,
      minZoom: 0,
      maxZoom: MAX_ZOOM,
    });
    var attribution = new L.Control.Attribution({ position: "bottomright" }).addTo(this._leaflet);
    // A long attribution wraps rather than run under the scale in the bottom-left corner.
    attribution.getContainer().style.maxWidth =
      Math.max(SCALE_ROOM, this._leaflet.getSize().x - SCALE_ROOM) + "px";
    var labels = this._leaflet.createPane("labels");
    labels.style.zIndex = 250; // over the tiles, under the lines
    labels.style.pointerEvents = "none";
    this._canvas = L.canvas({ padding: 0.5 });
    this._controls = []; // {control, element}
    this._typeControls = []; // controls shown per map type, told of changes
    this._mapType = null;
    this._tileLayers = [];
    GMap2.instances.push(this);
  }
  GMap2.instances = [];

  GMap2.prototype.getContainer = function () {
    return this._container;
  };

  // The map's size in pixels, as Leaflet last measured it (measuring anew would lay out the whole
  // page each time a control asks).
  GMap2.prototype.getSize = function () {
    var size = this._leaflet.getSize();
    return new GSize(size.x, size.y);
  };

  // Centres the map on `point`; without `zoom` the zoom stays as it is.
  GMap2.prototype.setCenter = function (point, zoom) {
    var leaflet = this._leaflet;
    var level = zoom === undefined ? (leaflet._loaded ? leaflet.getZoom() : 0) : clampZoom(zoom);
    leaflet.setView(point.toLeaflet(), level, { animate: false });
  };

  // Moves the map so that `point` is at its centre, smoothly where it is near.
  GMap2.prototype.panTo = function (point) {
    this._leaflet.panTo(point.toLeaflet());
  };

  GMap2.prototype.getCenter = function () {
    var center = this._leaflet.getCenter();
    return new GLatLng(center.lat, center.lng);
  };

  GMap2.prototype.getZoom = function () {
    return this._leaflet.getZoom();
  };

  GMap2.prototype.getBoundsZoomLevel = function (bounds) {
    return boundsZoomLevel(bounds, this.getSize());
  };

  GMap2.prototype.setMapType = function (type) {
    if (MAP_TYPES.indexOf(type) < 0 || type === this._mapType) return;
    var leaflet = this._leaflet;
    this._tileLayers.forEach(function (layer) {
      leaflet.removeLayer(layer);
    });
    this._mapType = type;
    this._tileLayers = type.createLayers();
    this._tileLayers.forEach(function (layer) {
      leaflet.addLayer(layer);
    });
    this._typeControls.forEach(function (control) {
      control.mapTypeChanged(type);
    });
  };

  GMap2.prototype.getCurrentMapType = function () {
    return this._mapType;
  };

  GMap2.prototype.enableDoubleClickZoom = function () {
    this._leaflet.doubleClickZoom.enable();
  };

  // Adds a GMarker or a GPolyline.
  GMap2.prototype.addOverlay = function (overlay) {
    this._leaflet.addLayer(overlay._leafletLayer(this));
  };

  GMap2.prototype.removeOverlay = function (overlay) {
    if (overlay._layer) this._leaflet.removeLayer(overlay._layer);
  };

  // Adds a control at `position`, or where the control itself says.
  GMap2.prototype.addControl = function (control, position) {
    var element = control.initialize(this);
    placeControl(element, position || control.getDefaultPosition());
    this._controls.push({ control: control, element: element });
  };

  GMap2.prototype.removeControl = function (control) {
    for (var i = 0; i < this._controls.length; i++) {
      if (this._controls[i].control !== control) continue;
      var element = this._controls[i].element;
      this._controls.splice(i, 1);
      if (control._leafletControl) control._leafletControl.remove();
      else if (element && element.parentNode) element.parentNode.removeChild(element);
      return;
    }
  };

  // Arrow keys pan and +/- zoom the map while it has the focus.
  function GKeyboardHandler(map) {
    map._leaflet.keyboard.enable();
  }

  return { GMap2: GMap2, GKeyboardHandler: GKeyboardHandler };
}
