#include "train/network_json.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <utility>

#include "arm/network_contract.h"

namespace {

// How the numbers become outputs, for a reader in another language.
constexpr const char* EvaluationText =
    "weights[L][s][t] is the weight from node s of layer L to node t of layer L + 1 (layer 0: the inputs); "
    "0 is no link. The inputs are clamped to -max_node_value .. +max_node_value. Then, layer by layer, each "
    "node in order: a 32-bit float sum starts at 0; for each node s of the layer before, in order, whose weight "
    "w is not 0: sum = float32(sum + (w / precision) * value of s), where the division, the product and the "
    "addition are done in x87 80-bit extended precision (long double) and only the result is rounded to "
    "float32. The node's value is the sum truncated toward zero, clamped to -max_node_value .. "
    "+max_node_value. No bias, no activation function. The outputs are the values of the last layer.";

const char* const Keys[] = {"format",      "version",     "layers",          "precision", "max_weight",
                            "max_node_value", "weights",  "connections",     "old_connections",
                            "fitness",     "generations", "evaluation",      "inputs",    "outputs"};

QJsonArray Pair(int64_t low, int64_t high) { return {static_cast<qint64>(low), static_cast<qint64>(high)}; }

QJsonArray InputContract(int32_t maxIntern) {
  QJsonArray inputs;
  for (int i = 0; i < SensorCount; ++i) {
    const TSensorSignal& s = SensorSignals[i];
    inputs.append(QJsonObject{{"index", i},
                              {"name", s.Name},
                              {"meaning", s.Meaning},
                              {"unit", s.Unit},
                              {"range", Pair(s.Low, s.High)},
                              {"bounded", s.Bounded},
                              {"clamp", Pair(-static_cast<int64_t>(maxIntern), maxIntern)}});
  }
  return inputs;
}

QJsonArray OutputContract(int32_t maxIntern) {
  QJsonArray outputs;
  for (int i = 0; i < JointCount; ++i)
    outputs.append(QJsonObject{{"index", i},
                               {"name", JointSignals[i].Name},
                               {"meaning", JointSignals[i].Meaning},
                               {"unit", "0.002 degree"},
                               {"degrees_per_unit", DegreesPerStepUnit},
                               {"range", Pair(-static_cast<int64_t>(maxIntern), maxIntern)}});
  return outputs;
}

QString Tr(const char* text) { return QCoreApplication::translate("zarnik-train", text); }

// Reads fields and keeps the first reason why one is wrong.
class TFieldReader {
 public:
  QString Why;

  bool Fail(const QString& why) {
    if (Why.isEmpty()) Why = why;
    return false;
  }
  bool Present(const QJsonObject& o, const char* key) {
    return o.contains(QLatin1String(key)) ||
           Fail(Tr(QT_TRANSLATE_NOOP("zarnik-train", "Feld '%1' fehlt")).arg(QLatin1String(key)));
  }
  // A number with an integer value in low .. high (1.0 counts, 1.5 does not).
  bool Int(const QJsonValue& v, const QString& name, int64_t low, int64_t high, int64_t& out) {
    const double d = v.toDouble();
    if (v.isDouble() && d >= static_cast<double>(low) && d <= static_cast<double>(high) && d == std::trunc(d)) {
      out = static_cast<int64_t>(d);
      return true;
    }
    return Fail(Tr(QT_TRANSLATE_NOOP("zarnik-train", "Feld '%1' ist keine ganze Zahl von %2 bis %3"))
                    .arg(name)
                    .arg(low)
                    .arg(high));
  }
  bool Int32(const QJsonObject& o, const char* key, int64_t low, int64_t high, int32_t& out) {
    int64_t v = 0;
    if (!Present(o, key) || !Int(o.value(QLatin1String(key)), QLatin1String(key), low, high, v)) return false;
    out = static_cast<int32_t>(v);
    return true;
  }
  bool Array(const QJsonValue& v, const QString& name, qsizetype count, QJsonArray& out) {
    if (v.isArray() && (count < 0 || v.toArray().size() == count)) {
      out = v.toArray();
      return true;
    }
    if (count < 0) return Fail(Tr(QT_TRANSLATE_NOOP("zarnik-train", "Feld '%1' ist keine Liste")).arg(name));
    return Fail(
        Tr(QT_TRANSLATE_NOOP("zarnik-train", "Feld '%1' ist keine Liste mit %2 Einträgen")).arg(name).arg(count));
  }
};

bool ReadLayers(TFieldReader& r, const QJsonObject& o, TPortableNetwork& net) {
  QJsonArray layers;
  if (!r.Present(o, "layers") || !r.Array(o.value(QLatin1String("layers")), QStringLiteral("layers"), -1, layers))
    return false;
  // Inputs, at least one hidden layer, outputs; every layer within what a network file can count.
  if (layers.size() < 3 || layers.size() > 1000)
    return r.Fail(Tr(QT_TRANSLATE_NOOP("zarnik-train", "Feld 'layers' braucht 3 bis 1000 Einträge")));
  int64_t nodes = 0;
  for (qsizetype i = 0; i < layers.size(); ++i) {
    int64_t n = 0;
    if (!r.Int(layers[i], QStringLiteral("layers[%1]").arg(i), 1, 65535, n)) return false;
    net.Layers.push_back(static_cast<int32_t>(n));
    nodes += n;
  }
  if (nodes > 65535) return r.Fail(Tr(QT_TRANSLATE_NOOP("zarnik-train", "Feld 'layers' hat mehr als 65535 Knoten")));
  return true;
}

// weights[L]: one row per node of layer L, each with one weight per node of layer L + 1.
bool ReadWeights(TFieldReader& r, const QJsonObject& o, TPortableNetwork& net) {
  QJsonArray blocks;
  if (!r.Present(o, "weights") ||
      !r.Array(o.value(QLatin1String("weights")), QStringLiteral("weights"), net.Layers.size() - 1, blocks))
    return false;
  for (qsizetype L = 0; L < blocks.size(); ++L) {
    QJsonArray rows;
    const QString blockName = QStringLiteral("weights[%1]").arg(L);
    if (!r.Array(blocks[L], blockName, net.Layers[static_cast<size_t>(L)], rows)) return false;
    auto& block = net.Weights.emplace_back();
    for (qsizetype s = 0; s < rows.size(); ++s) {
      QJsonArray row;
      const QString rowName = blockName + QStringLiteral("[%1]").arg(s);
      if (!r.Array(rows[s], rowName, net.Layers[static_cast<size_t>(L) + 1], row)) return false;
      auto& weights = block.emplace_back();
      for (qsizetype t = 0; t < row.size(); ++t) {
        int64_t w = 0;
        if (!r.Int(row[t], rowName + QStringLiteral("[%1]").arg(t), INT32_MIN, INT32_MAX, w)) return false;
        weights.push_back(static_cast<int32_t>(w));
      }
    }
  }
  return true;
}

bool ReadFields(TFieldReader& r, const QJsonObject& o, TPortableNetwork& net) {
  if (o.value(QLatin1String("format")).toString() != QLatin1String(NetworkFormat))
    return r.Fail(Tr(QT_TRANSLATE_NOOP("zarnik-train", "kein Netz von Zarnik32 (Feld 'format' ist nicht '%1')"))
                      .arg(QLatin1String(NetworkFormat)));
  int32_t version = 0;
  if (!r.Int32(o, "version", 1, INT32_MAX, version)) return false;
  if (version != NetworkFormatVersion)
    return r.Fail(Tr(QT_TRANSLATE_NOOP("zarnik-train", "Version %1 unbekannt (gelesen wird Version %2)"))
                      .arg(version)
                      .arg(NetworkFormatVersion));
  for (const QString& key : o.keys())
    if (std::find(std::begin(Keys), std::end(Keys), key.toStdString()) == std::end(Keys))
      return r.Fail(Tr(QT_TRANSLATE_NOOP("zarnik-train", "Feld '%1' gibt es in Version %2 nicht"))
                        .arg(key)
                        .arg(NetworkFormatVersion));
  if (!ReadLayers(r, o, net)) return false;
  if (!r.Int32(o, "precision", 1, INT32_MAX, net.Precision) || !r.Int32(o, "max_weight", 0, INT32_MAX, net.MaxWeight) ||
      !r.Int32(o, "max_node_value", 0, INT32_MAX, net.MaxIntern) || !ReadWeights(r, o, net))
    return false;
  int64_t nodes = 0;
  for (const int32_t n : net.Layers) nodes += n;
  if (!r.Int32(o, "connections", 0, nodes * nodes, net.Connections) ||
      !r.Int32(o, "old_connections", 0, nodes * nodes, net.OldConnections) ||
      !r.Int32(o, "fitness", INT32_MIN, INT32_MAX, net.Fitness) ||
      !r.Int32(o, "generations", 0, INT32_MAX, net.Generations))
    return false;
  if (!r.Present(o, "evaluation")) return false;
  if (!o.value(QLatin1String("evaluation")).isString())
    return r.Fail(Tr(QT_TRANSLATE_NOOP("zarnik-train", "Feld '%1' ist kein Text")).arg(QStringLiteral("evaluation")));
  // The contract must be this program's: a network made for other sensors would steer blind.
  if (!r.Present(o, "inputs") || !r.Present(o, "outputs")) return false;
  if (o.value(QLatin1String("inputs")) != InputContract(net.MaxIntern))
    return r.Fail(Tr(QT_TRANSLATE_NOOP("zarnik-train", "Feld 'inputs' beschreibt nicht die Eingänge von Zarnik32")));
  if (o.value(QLatin1String("outputs")) != OutputContract(net.MaxIntern))
    return r.Fail(Tr(QT_TRANSLATE_NOOP("zarnik-train", "Feld 'outputs' beschreibt nicht die Ausgänge von Zarnik32")));
  return true;
}

}  // namespace

QByteArray NetworkToJson(const TPortableNetwork& net) {
  QJsonArray layers, weights;
  for (const int32_t n : net.Layers) layers.append(n);
  for (const auto& block : net.Weights) {
    QJsonArray rows;
    for (const auto& row : block) {
      QJsonArray values;
      for (const int32_t w : row) values.append(w);
      rows.append(values);
    }
    weights.append(rows);
  }
  const QJsonObject o{{"format", NetworkFormat},
                      {"version", NetworkFormatVersion},
                      {"layers", layers},
                      {"precision", net.Precision},
                      {"max_weight", net.MaxWeight},
                      {"max_node_value", net.MaxIntern},
                      {"weights", weights},
                      {"connections", net.Connections},
                      {"old_connections", net.OldConnections},
                      {"fitness", net.Fitness},
                      {"generations", net.Generations},
                      {"evaluation", EvaluationText},
                      {"inputs", InputContract(net.MaxIntern)},
                      {"outputs", OutputContract(net.MaxIntern)}};
  return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

bool NetworkFromJson(const QByteArray& json, TPortableNetwork& net, QString& why) {
  QJsonParseError error{};
  const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
  if (error.error != QJsonParseError::NoError) {
    why = Tr(QT_TRANSLATE_NOOP("zarnik-train", "kein gültiges JSON (Fehler bei Byte %1)")).arg(error.offset);
    return false;
  }
  if (!doc.isObject()) {
    why = Tr(QT_TRANSLATE_NOOP("zarnik-train", "kein JSON-Objekt"));
    return false;
  }
  TFieldReader r;
  TPortableNetwork read;
  if (!ReadFields(r, doc.object(), read)) {
    why = r.Why;
    return false;
  }
  net = std::move(read);
  return true;
}
