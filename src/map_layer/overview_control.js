// GOverviewMapControl: a small map in the bottom-right corner, OVERVIEW_ZOOM_OUT levels further
// out than the map, with the map's view framed on it.

var OVERVIEW_SIZE = 120; // pixels, square
var OVERVIEW_ZOOM_OUT = 5;

var OverviewMap = L.Control.extend({
  options: { position: "bottomright" },

  initialize: function (map) {
    this._gmap = map;
  },

  onAdd: function (leaflet) {
    var container = L.DomUtil.create("div", "leaflet-bar overview-map");
    container.style.width = OVERVIEW_SIZE + "px";
    container.style.height = OVERVIEW_SIZE + "px";
    container.style.background = BACKGROUND_COLOR;
    this._overview = L.map(container, {
      attributionControl: false,
      zoomControl: false,
      dragging: false,
      touchZoom: false,
      scrollWheelZoom: false,
      doubleClickZoom: false,
      boxZoom: false,
      keyboard: false,
      zoomAnimation: false,
      fadeAnimation: false,
    });
    this._layers = [];
    this._frame = L.rectangle([[0, 0], [0, 0]], {
      renderer: L.svg({ padding: 0 }),
      color: "#4060ff",
      weight: 1,
      fillOpacity: 0.15,
      interactive: false,
    });
    this.mapTypeChanged(this._gmap.getCurrentMapType());
    leaflet.on("moveend zoomend", this._follow, this);
    if (leaflet._loaded) this._follow();
    return container;
  },

  onRemove: function (leaflet) {
    leaflet.off("moveend zoomend", this._follow, this);
    this._overview.remove();
  },

  // Shows the map's current type under the frame.
  mapTypeChanged: function (type) {
    var overview = this._overview;
    this._layers.forEach(function (layer) {
      overview.removeLayer(layer);
    });
    this._layers = type.createLayers();
    this._layers.forEach(function (layer) {
      layer.options.pane = "tilePane";
      overview.addLayer(layer);
    });
  },

  _follow: function () {
    var leaflet = this._gmap._leaflet;
    var zoom = Math.max(0, leaflet.getZoom() - OVERVIEW_ZOOM_OUT);
    this._overview.setView(leaflet.getCenter(), zoom, { animate: false });
    this._frame.setBounds(leaflet.getBounds());
    if (!this._overview.hasLayer(this._frame)) this._frame.addTo(this._overview);
  },
});

var GOverviewMapControl = leafletControlType(function (map) {
  var control = new OverviewMap(map);
  map._typeControls.push(control);
  return control;
});
