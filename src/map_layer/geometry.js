// Positions and pixel sizes: GLatLng, GLatLngBounds, GSize and GPoint. Takes nothing from the
// other parts.
function geometryModule() {
  // A geographic position in decimal degrees, north and east positive.
  function GLatLng(lat, lng) {
    this._lat = Number(lat);
    this._lng = Number(lng);
  }
  GLatLng.prototype.lat = function () {
    return this._lat;
  };
  GLatLng.prototype.lng = function () {
    return this._lng;
  };
  GLatLng.prototype.toLeaflet = function () {
    return new L.LatLng(this._lat, this._lng);
  };

  // The box between a south-west and a north-east corner.
  function GLatLngBounds(southWest, northEast) {
    this._sw = southWest;
    this._ne = northEast;
  }
  GLatLngBounds.prototype.getSouthWest = function () {
    return this._sw;
  };
  GLatLngBounds.prototype.getNorthEast = function () {
    return this._ne;
  };

  // A size in pixels; also the offset of a control from its corner.
  function GSize(width, height) {
    this.width = width;
    this.height = height;
  }

  // A pixel position inside an image, from its top-left corner.
  function GPoint(x, y) {
    this.x = x;
    this.y = y;
  }

  return { GLatLng: GLatLng, GLatLngBounds: GLatLngBounds, GSize: GSize, GPoint: GPoint };
}
