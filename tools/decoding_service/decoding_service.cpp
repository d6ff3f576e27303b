#include "tools/decoding_service/decoding_service.h"

namespace quorvant::decoding_service {
namespace {

void Deliver(const ServiceAnswer& answer, loopback_http::Reply& reply) {
  const std::string head = HeaderBlockOf(answer);
  switch (answer.delivery) {
    case Delivery::kWhole:
      reply.Send(head + answer.body);
      reply.Close();
      break;
    case Delivery::kStallAfterHead:
      reply.Send(head);
      reply.HoldUntilStopped();
      break;
    case Delivery::kCloseMidBody:
      reply.Send(head + answer.body.substr(0, answer.body.size() / 2));
      reply.Close();
      break;
  }
}

}  // namespace

DecodingService::DecodingService(ServiceOptions options, std::uint16_t port)
    : server_(
          [options](const loopback_http::Request& request, loopback_http::Reply& reply) {
            Deliver(AnswerRequest({request.method, request.target, request.body}, options), reply);
          },
          port) {}

std::string DecodingService::Endpoint() const {
  return server_.Url("/index.php?m=api&a=taokoulingjm");
}

}  // namespace quorvant::decoding_service
