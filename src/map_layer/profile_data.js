// The profile strip's data: the page's compact string of points, decoded into arrays. Takes
// nothing from the other parts.
function profileDataModule() {
  var PROFILE_DIGITS = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

  // Decodes `text`: per point four variable-length numbers of base64 digits (five bits each, low
  // first; the sixth bit says that another digit follows; signed numbers carry the sign in the
  // lowest bit): the seconds since the previous point (the first: since local midnight of its
  // day), the metres since the previous point, the change of the speed in 0.1 km/h, and 0 for no
  // altitude or 1 + the signed change of the altitude in metres since the last one, doubled.
  // Returns {count, time (s since local midnight of the first day), km, kmh, altitude (NaN where
  // there is none)}. A damaged end is left out.
  function decodeProfile(text) {
    var values = new Int8Array(128).fill(-1);
    for (var d = 0; d < 64; d++) values[PROFILE_DIGITS.charCodeAt(d)] = d;
    var capacity = Math.floor(text.length / 4);
    var time = new Float64Array(capacity);
    var km = new Float64Array(capacity);
    var kmh = new Float64Array(capacity);
    var altitude = new Float64Array(capacity);
    var position = 0;
    var broken = false;

    function unsigned() {
      var result = 0;
      var scale = 1;
      for (;;) {
        var code = position < text.length ? text.charCodeAt(position++) : 0;
        var digit = code < 128 ? values[code] : -1;
        if (digit < 0) {
          broken = true;
          return 0;
        }
        result += (digit & 31) * scale;
        if (!(digit & 32)) return result;
        scale *= 32;
      }
    }
    function signed(value) {
      return value % 2 ? -(value - 1) / 2 : value / 2;
    }

    var count = 0;
    var t = 0;
    var metres = 0;
    var speed = 0;
    var metresUp = 0;
    while (position < text.length && count < capacity) {
      var dt = signed(unsigned());
      var dm = unsigned();
      var ds = signed(unsigned());
      var da = unsigned();
      if (broken) break;
      t += dt;
      metres += dm;
      speed += ds;
      time[count] = t;
      km[count] = metres / 1000;
      kmh[count] = speed / 10;
      if (da === 0) {
        altitude[count] = NaN;
      } else {
        metresUp += signed((da - 1) / 2);
        altitude[count] = metresUp;
      }
      count++;
    }
    return {
      count: count,
      time: time.subarray(0, count),
      km: km.subarray(0, count),
      kmh: kmh.subarray(0, count),
      altitude: altitude.subarray(0, count),
    };
  }

  return { decodeProfile: decodeProfile };
}
